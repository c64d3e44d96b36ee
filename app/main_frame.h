// The program's only top-level window: the menu, the opened movie and its
// temporary files, and the preview that covers the whole client area.
#pragma once

#include <windows.h>

#include "host_services.h"
#include "host_timer.h"
#include "preview_painter.h"
#include "shockwave_flash.h"

class ExportHandOver;

constexpr char kMainWindowClass[] = "TessalineMoviquill";
constexpr char kMainWindowTitle[] = "Tessaline Moviquill";
constexpr DWORD kMainWindowStyle = WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN;

class MainFrame {
 public:
  MainFrame();
  ~MainFrame();
  MainFrame(const MainFrame&) = delete;
  MainFrame& operator=(const MainFrame&) = delete;

  // Registers the window class and creates the window at the stored rectangle;
  // the window shows itself. Null when it could not be created.
  HWND create();
  HWND window() const { return mainWindow_; }
  void setExportHandOver(ExportHandOver* handOver) { exportHandOver_ = handOver; }

  // Used by the Create AVI hand-over and the export passes.
  IShockwaveFlash* flash() const { return flash_; }
  PreviewPainter& painter() { return painter_; }
  ITimerSink* timerSink() const { return timerSink_; }
  // The sink the control advised last, known before any tick message came.
  ITimerSink* advisedTimerSink() const { return hostTimer_.sink; }
  bool keepAspectChecked() const;
  const char* currentMoviePath() const { return currentMoviePath_; }
  const char* workingCopyPath() const { return workingCopyPath_; }
  const char* recordingWavPath() const { return recordingWavPath_; }
  char* outputPath() { return outputPath_; }
  int movieWidth() const { return movieWidth_; }
  int movieHeight() const { return movieHeight_; }
  int frameCount() const { return frameCount_; }
  double frameRate() const { return frameRate_; }
  void stop();
  void sizeToMovie(int width, int height, bool keepAspect);
  // Names the movie to the control; put_Movie's result (E_FAIL once the control is gone).
  HRESULT loadMovie(const char* path);

 private:
  static LRESULT CALLBACK windowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  LRESULT handle(UINT message, WPARAM wParam, LPARAM lParam);
  LRESULT onCreate();
  void onDestroy();
  void onSize();
  LRESULT onAppTick(LPARAM sinkSlot);
  void onCommand(int id);
  void setMenuState();
  void deleteTemporaryFiles();
  void releaseControl();

  // Commands
  void openMovie();
  bool loadChosenMovie(const char* chosen);
  void createAvi();
  void play();
  void rewind();
  void keepAspectRatio();
  void dimensions();

  // Preview sizing
  void fillClientWithHost();
  void refreshStoppedFrame();
  void resizeClientTo(int width, int height);
  SIZE clientSize() const;

  HWND mainWindow_;
  HWND previewHost_;
  IUnknown* controlObject_;
  IShockwaveFlash* flash_;
  HostServiceProvider serviceProvider_;
  HostTimerService timerService_;
  HostTimer hostTimer_;
  PreviewPainter painter_;
  ITimerSink* timerSink_;
  HMENU menu_;
  int movieWidth_;
  int movieHeight_;
  int frameCount_;
  double frameRate_;
  int stopped_;
  char currentMoviePath_[MAX_PATH];
  char workingCopyPath_[MAX_PATH];
  char outputPath_[MAX_PATH];
  int currentIsExpandedCopy_;
  char recordingWavPath_[MAX_PATH];
  ExportHandOver* exportHandOver_;
};
