// The MainFrame's preview sizing: the client area is the output size, and the
// control's scale mode decides whether the movie keeps its aspect ratio in it.
#include "dimensions_dialog.h"
#include "main_frame.h"
#include "resource_ids.h"

namespace {

constexpr int kShowAll = 0;
constexpr int kExactFit = 2;

}  // namespace

SIZE MainFrame::clientSize() const {
  RECT client;
  GetClientRect(mainWindow_, &client);
  return SIZE{client.right, client.bottom};
}

bool MainFrame::keepAspectChecked() const {
  return (GetMenuState(menu_, ID_OPTIONS_KEEP_ASPECT, MF_BYCOMMAND) & MF_CHECKED) != 0;
}

void MainFrame::fillClientWithHost() {
  const SIZE client = clientSize();
  MoveWindow(previewHost_, 0, 0, client.cx, client.cy, TRUE);
}

void MainFrame::refreshStoppedFrame() {
  if (!stopped_ || !flash_) return;
  // Setting the scale mode again makes the stopped control draw at the new size.
  int mode = 0;
  IShockwaveFlash_get_ScaleMode(flash_.get(), &mode);
  IShockwaveFlash_put_ScaleMode(flash_.get(), mode);
}

void MainFrame::resizeClientTo(int width, int height) {
  const LONG style = GetWindowLongA(mainWindow_, GWL_STYLE);
  RECT r = {0, 0, width, height};
  for (int attempt = 0; attempt < 2; ++attempt) {
    MapWindowPoints(mainWindow_, nullptr, reinterpret_cast<POINT*>(&r), 2);
    AdjustWindowRect(&r, style, TRUE);
    MoveWindow(mainWindow_, r.left, r.top, r.right - r.left, r.bottom - r.top, TRUE);
    const SIZE client = clientSize();
    // A menu bar that wrapped onto more lines took height from the client area.
    if (client.cy >= height) break;
    r = RECT{0, 0, client.cx, 2 * height - client.cy};
  }
}

void MainFrame::sizeToMovie(int width, int height, bool keepAspect) {
  IShockwaveFlash_put_ScaleMode(flash_.get(), keepAspect ? kShowAll : kExactFit);
  resizeClientTo(width, height);
  fillClientWithHost();
  SendMessageA(previewHost_, WM_PAINT, 0, 0);
  MSG pending;
  while (PeekMessageA(&pending, mainWindow_, WM_SIZE, WM_SIZE, PM_REMOVE)) {
  }
}

void MainFrame::keepAspectRatio() {
  if (keepAspectChecked()) {
    IShockwaveFlash_put_ScaleMode(flash_.get(), kExactFit);
    CheckMenuItem(menu_, ID_OPTIONS_KEEP_ASPECT, MF_BYCOMMAND | MF_UNCHECKED);
  } else {
    IShockwaveFlash_put_ScaleMode(flash_.get(), kShowAll);
    CheckMenuItem(menu_, ID_OPTIONS_KEEP_ASPECT, MF_BYCOMMAND | MF_CHECKED);
  }
  fillClientWithHost();
  refreshStoppedFrame();
}

void MainFrame::dimensions() {
  const SIZE client = clientSize();
  DimensionsValues values = {static_cast<UINT>(client.cx), static_cast<UINT>(client.cy), static_cast<UINT>(movieWidth_),
                             static_cast<UINT>(movieHeight_)};
  if (showDimensionsDialog(GetActiveWindow(), &values) == 1)
    resizeClientTo(static_cast<int>(values.currentWidth), static_cast<int>(values.currentHeight));
}
