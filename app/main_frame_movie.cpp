// The File commands of the MainFrame: opening a movie, and Create AVI up to
// the hand-over to the export.
#include <windows.h>
#include <commdlg.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <utility>

#include "export_hand_over.h"
#include "main_frame.h"
#include "message_boxes.h"
#include "module_instance.h"
#include "movie_expansion.h"
#include "movie_header.h"
#include "path_text.h"
#include "resource_ids.h"
#include "settings_store.h"
#include "silent_copy.h"
#include "temp_file_name.h"

namespace {

constexpr DWORD kFileDialogFlags = OFN_EXPLORER | OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST;
constexpr int kControlMenuPosition = 1;
constexpr int kOptionsMenuPosition = 2;

OPENFILENAMEA fileDialog(HWND owner, const char* filter, char* file, const char* folder, const char* title,
                         const char* extension) {
  OPENFILENAMEA dialog = {};
  dialog.lStructSize = sizeof dialog;
  dialog.hwndOwner = owner;
  dialog.lpstrFilter = filter;
  dialog.nFilterIndex = 1;
  dialog.lpstrFile = file;
  dialog.nMaxFile = MAX_PATH;
  dialog.lpstrInitialDir = folder;
  dialog.lpstrTitle = title;
  dialog.lpstrDefExt = extension;
  dialog.Flags = kFileDialogFlags;
  return dialog;
}

bool readable(const char* path) {
  FILE* file = std::fopen(path, "rb");
  if (!file) return false;
  std::fclose(file);
  return true;
}

}  // namespace

void MainFrame::openMovie() {
  char title[256] = "";
  LoadStringA(appInstance(), IDS_SELECT_FLASH_FILE, title, sizeof title);
  char chosen[MAX_PATH] = "";
  OPENFILENAMEA dialog = fileDialog(mainWindow_, "Flash (*.swf)\0*.swf\0All files (*.*)\0*.*\0", chosen,
                                    appSettings.openDir, title, "swf");
  if (!GetOpenFileNameA(&dialog)) {
    if (CommDlgExtendedError() != 0) errorBox(mainWindow_, IDS_FILE_OPEN_ERROR);
    return;
  }
  std::strcpy(appSettings.openDir, chosen);
  cutAtLastBackslash(appSettings.openDir);
  loadChosenMovie(chosen);
}

bool MainFrame::loadChosenMovie(const char* chosen) {
  // The shown movie's copies stay until the chosen one has proved readable.
  char expandedPath[MAX_PATH];
  makeTempFileName(expandedPath);
  TemporaryFile expanded(expandedPath);
  const int expansion = expandCompressedMovie(chosen, expandedPath);
  if (expansion <= 0) expanded.remove();
  const char* movie = expansion == 0 ? chosen : expandedPath;

  int32_t width = 0, height = 0, frames = 0;
  double rate = 0;
  if (expansion < 0 || readMovieHeader(movie, &width, &height, &rate, &frames) != 0) {
    expanded.remove();
    errorBox(mainWindow_, IDS_FILE_OPEN_ERROR);
    return false;
  }
  workingCopy_.remove();
  movieWidth_ = width;
  movieHeight_ = height;
  frameRate_ = rate;
  frameCount_ = frames;
  std::strcpy(currentMoviePath_, movie);
  if (!GetFullPathNameA(chosen, MAX_PATH, movieFolder_, nullptr)) std::strcpy(movieFolder_, chosen);
  cutAtLastBackslash(movieFolder_);
  expandedCopy_ = std::move(expanded);

  const std::string windowTitle = std::string(kMainWindowTitle) + " - [" + chosen + "]";
  SetWindowTextA(mainWindow_, windowTitle.c_str());
  EnableMenuItem(menu_, ID_FILE_CREATE_AVI, MF_BYCOMMAND | MF_ENABLED);
  std::strcpy(outputPath_, chosen);
  keepBaseName(outputPath_);
  EnableMenuItem(menu_, kControlMenuPosition, MF_BYPOSITION | MF_ENABLED);
  EnableMenuItem(menu_, kOptionsMenuPosition, MF_BYPOSITION | MF_ENABLED);

  sizeToMovie(movieWidth_, movieHeight_, keepAspectChecked());
  stop();
  SendMessageA(mainWindow_, WM_NCPAINT, 1, 0);

  makeWorkingCopy();
  // Stopped: no tick reaches the control, so it stays on the first frame.
  loadMovie(currentMoviePath_);
  return true;
}

// The silent copy the export plays; the previous one, if any, goes.
void MainFrame::makeWorkingCopy() {
  char path[MAX_PATH];
  makeTempFileName(path);
  workingCopy_ = TemporaryFile(path);
  silenceMovieCopy(currentMoviePath_, workingCopy_.path());
}

void MainFrame::createAvi() {
  // A range of no frames would have no end.
  if (frameCount_ <= 0) {
    errorBox(mainWindow_, IDS_NO_FRAMES_TO_EXPORT);
    return;
  }
  keepBaseName(outputPath_);
  char title[256] = "";
  LoadStringA(appInstance(), IDS_CREATE_AVI_FILE, title, sizeof title);
  // The same flags as the open dialog; the system's save dialog still takes a new name.
  OPENFILENAMEA dialog =
      fileDialog(mainWindow_, "AVI (*.avi)\0*.avi\0", outputPath_, appSettings.saveDir, title, "avi");
  if (!GetSaveFileNameA(&dialog)) return;

  if (!readable(workingCopy_.path())) makeWorkingCopy();
  loadMovie(workingCopy_.path());
  stop();
  std::strcpy(appSettings.saveDir, outputPath_);
  cutAtLastBackslash(appSettings.saveDir);

  if (exportHandOver_ && exportHandOver_->run(*this)) return;
  loadMovie(currentMoviePath_);
  stop();
}
