#include "main_frame.h"

#include <shellapi.h>

#include <cstring>
#include <utility>

#include "about_dialog.h"
#include "bstr_text.h"
#include "document_opener.h"
#include "export_hand_over.h"
#include "message_boxes.h"
#include "module_instance.h"
#include "preview_host.h"
#include "resource_ids.h"
#include "settings_store.h"
#include "temp_file_name.h"
#include "tick_state.h"
#include "web_addresses.h"

namespace {

constexpr int kControlMenuPosition = 1;
constexpr int kOptionsMenuPosition = 2;

}  // namespace

MainFrame::MainFrame()
    : mainWindow_(nullptr),
      previewHost_(nullptr),
      timerSink_(nullptr),
      menu_(nullptr),
      movieWidth_(0),
      movieHeight_(0),
      frameCount_(0),
      frameRate_(0),
      stopped_(1),
      exportHandOver_(nullptr) {
  initHostTimer(&hostTimer_, systemMultimediaTimer());
  initTimerSite(&site_, &hostTimer_.ITimer_iface);
  currentMoviePath_[0] = movieFolder_[0] = outputPath_[0] = '\0';
  char wavPath[MAX_PATH];
  makeTempFileName(wavPath);
  recordingWav_ = TemporaryFile(wavPath);
}

MainFrame::~MainFrame() {
  // The painter deletes its memory context and surface itself.
  releaseControl();
}

HWND MainFrame::create() {
  WNDCLASSEXA windowClass = {};
  windowClass.cbSize = sizeof windowClass;
  windowClass.style = CS_HREDRAW | CS_VREDRAW | CS_DBLCLKS;
  windowClass.lpfnWndProc = &MainFrame::windowProc;
  windowClass.hInstance = appInstance();
  windowClass.hIcon = LoadIconA(appInstance(), MAKEINTRESOURCEA(IDI_MOVIQUILL));
  windowClass.hCursor = LoadCursorA(nullptr, IDC_ARROW);
  windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
  windowClass.lpszMenuName = MAKEINTRESOURCEA(IDR_MAIN_MENU);
  windowClass.lpszClassName = kMainWindowClass;
  RegisterClassExA(&windowClass);

  // With nothing stored both differences wrap round to CW_USEDEFAULT.
  const RECT& r = appSettings.mainWin;
  const int width = static_cast<int>(static_cast<unsigned>(r.right) - static_cast<unsigned>(r.left));
  const int height = static_cast<int>(static_cast<unsigned>(r.bottom) - static_cast<unsigned>(r.top));
  return CreateWindowExA(0, kMainWindowClass, kMainWindowTitle, kMainWindowStyle, r.left, r.top, width, height, nullptr,
                         nullptr, appInstance(), this);
}

LRESULT CALLBACK MainFrame::windowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NCCREATE) {
    auto* frame = static_cast<MainFrame*>(reinterpret_cast<CREATESTRUCTA*>(lParam)->lpCreateParams);
    frame->mainWindow_ = window;
    SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(frame));
  }
  auto* frame = reinterpret_cast<MainFrame*>(GetWindowLongPtrA(window, GWLP_USERDATA));
  if (!frame) return DefWindowProcA(window, message, wParam, lParam);
  return frame->handle(message, wParam, lParam);
}

LRESULT MainFrame::handle(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_CREATE: return onCreate();
    case WM_DESTROY: onDestroy(); return 0;
    case WM_SIZE: onSize(); return 0;
    case WM_PAINT: {
      PAINTSTRUCT ps;
      BeginPaint(mainWindow_, &ps);
      EndPaint(mainWindow_, &ps);
      return 0;
    }
    case WM_SYSCOMMAND:
      // An export takes the system menu away; closing must wait for its end.
      if ((wParam & 0xFFF0) == SC_CLOSE && !(GetWindowLongA(mainWindow_, GWL_STYLE) & WS_SYSMENU)) return 0;
      break;
    case kAppTickMessage: return onAppTick(lParam);
    case WM_COMMAND: onCommand(LOWORD(wParam)); return 0;
    default: break;
  }
  return DefWindowProcA(mainWindow_, message, wParam, lParam);
}

LRESULT MainFrame::onCreate() {
  tickState.window = mainWindow_;
  RECT client;
  GetClientRect(mainWindow_, &client);
  previewHost_ = createPreviewHost(mainWindow_, client);
  PreviewControl control;
  if (!previewHost_ || !attachPreviewControl(previewHost_, &site_.IServiceProvider_iface, &control)) {
    // The start-up check found a control; one that cannot be created is as good as none.
    errorBox(nullptr, IDS_GET_FLASH_CONTROL);
    return -1;
  }
  controlObject_ = std::move(control.object);
  flash_ = std::move(control.flash);
  painter_.subclass(previewHost_);

  stopped_ = 1;
  movieWidth_ = client.right;
  movieHeight_ = client.bottom;
  menu_ = GetMenu(mainWindow_);
  setMenuState();
  DragAcceptFiles(mainWindow_, TRUE);  // nothing handles the drop: it has no effect
  ShowWindow(mainWindow_, SW_SHOWNORMAL);
  return 0;
}

void MainFrame::setMenuState() {
  CheckMenuItem(menu_, ID_OPTIONS_KEEP_ASPECT, MF_BYCOMMAND | MF_CHECKED);
  EnableMenuItem(menu_, ID_FILE_CREATE_AVI, MF_BYCOMMAND | MF_GRAYED);
  CheckMenuItem(menu_, ID_CONTROL_PLAY, MF_BYCOMMAND | MF_UNCHECKED);
  CheckMenuItem(menu_, ID_CONTROL_STOP, MF_BYCOMMAND | MF_CHECKED);
  EnableMenuItem(menu_, kControlMenuPosition, MF_BYPOSITION | MF_GRAYED);
  EnableMenuItem(menu_, kOptionsMenuPosition, MF_BYPOSITION | MF_GRAYED);
  DrawMenuBar(mainWindow_);
}

void MainFrame::deleteTemporaryFiles() {
  workingCopy_.remove();
  recordingWav_.remove();
  expandedCopy_.remove();
}

void MainFrame::releaseControl() {
  controlObject_.reset();
  flash_.reset();
}

void MainFrame::onDestroy() {
  deleteTemporaryFiles();
  releaseControl();
  GetWindowRect(mainWindow_, &appSettings.mainWin);
  painter_.restore();
  if (previewHost_) DestroyWindow(previewHost_);
  previewHost_ = nullptr;
  PostQuitMessage(0);
}

void MainFrame::onSize() {
  if (tickState.recordingActive || tickState.videoPassActive) return;
  fillClientWithHost();
  refreshStoppedFrame();
}

LRESULT MainFrame::onAppTick(LPARAM sinkSlot) {
  const TickUse use =
      takeTick(tickState, reinterpret_cast<ITimerSink**>(sinkSlot), stopped_ != 0, timeGetTime(), &timerSink_);
  if (use == TickUse::ForRecording && exportHandOver_) exportHandOver_->recordingTick(*this);
  return 0;
}

void MainFrame::onCommand(int id) {
  switch (id) {
    case ID_FILE_OPEN: openMovie(); break;
    case ID_FILE_CREATE_AVI: createAvi(); break;
    case ID_FILE_EXIT: DestroyWindow(mainWindow_); break;
    case ID_CONTROL_PLAY: play(); break;
    case ID_CONTROL_STOP: stop(); break;
    case ID_CONTROL_REWIND: rewind(); break;
    case ID_OPTIONS_DIMENSIONS: dimensions(); break;
    case ID_OPTIONS_KEEP_ASPECT: keepAspectRatio(); break;
    case ID_HELP_CONTENTS: openDocument("MVQHelp.htm", SW_SHOWNORMAL); break;
    case ID_HELP_HOME_PAGE: openDocument(MVQ_HOME_PAGE, SW_SHOWNORMAL); break;
    case ID_HELP_FORUM: openDocument(MVQ_FORUM_PAGE, SW_SHOWNORMAL); break;
    case ID_HELP_ABOUT: showAboutDialog(mainWindow_); break;
    default: break;
  }
}

void MainFrame::play() {
  CheckMenuItem(menu_, ID_CONTROL_PLAY, MF_BYCOMMAND | MF_CHECKED);
  CheckMenuItem(menu_, ID_CONTROL_STOP, MF_BYCOMMAND | MF_UNCHECKED);
  if (flash_) IShockwaveFlash_Play(flash_.get());
  stopped_ = 0;
}

void MainFrame::stop() {
  CheckMenuItem(menu_, ID_CONTROL_PLAY, MF_BYCOMMAND | MF_UNCHECKED);
  CheckMenuItem(menu_, ID_CONTROL_STOP, MF_BYCOMMAND | MF_CHECKED);
  if (flash_) IShockwaveFlash_Stop(flash_.get());
  stopped_ = 1;
}

void MainFrame::rewind() {
  if (flash_) IShockwaveFlash_Rewind(flash_.get());
  if (GetMenuState(menu_, ID_CONTROL_PLAY, MF_BYCOMMAND) & MF_CHECKED)
    play();
  else
    stop();
}

HRESULT MainFrame::loadMovie(const char* path) {
  if (!flash_) return E_FAIL;  // gone with the window, e.g. closed under a dialog
  // Every movie the program loads is the opened one or its silent copy.
  hostTimer_.movieFrameRate = frameRate_;
  // The copies live in the temporary folder; what the movie loads lies
  // beside the original.
  BstrText base(movieFolder_);
  IShockwaveFlash_put_Base(flash_.get(), base.get());
  BstrText movie(path);
  return IShockwaveFlash_put_Movie(flash_.get(), movie.get());
}
