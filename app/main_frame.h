// The program's only top-level window: the menu, the opened movie and its
// temporary files, and the preview that covers the whole client area.
#pragma once

#include <windows.h>

#include "com_reference.h"
#include "export_host.h"
#include "timer_site.h"
#include "host_timer.h"
#include "preview_painter.h"
#include "shockwave_flash.h"
#include "temporary_file.h"

class ExportHandOver;

constexpr char kMainWindowClass[] = "TessalineMoviquill";
constexpr char kMainWindowTitle[] = "Tessaline Moviquill";
constexpr DWORD kMainWindowStyle = WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN;

class MainFrame : public ExportHost {
 public:
  MainFrame();
  ~MainFrame();
  MainFrame(const MainFrame&) = delete;
  MainFrame& operator=(const MainFrame&) = delete;

  // Registers the window class and creates the window at the stored rectangle;
  // the window shows itself. Null when it could not be created.
  HWND create();
  HWND window() const override { return mainWindow_; }
  void setExportHandOver(ExportHandOver* handOver) { exportHandOver_ = handOver; }

  // What the Create AVI hand-over and the export passes use.
  IShockwaveFlash* flash() const override { return flash_.get(); }
  ITimerSink* timerSink() const override { return timerSink_; }
  ITimerSink* advisedTimerSink() const override { return hostTimer_.sink; }
  HWND previewWindow() const override { return painter_.host; }
  const FrameSurface& previewSurface() const override { return painter_.surface; }
  const char* currentMoviePath() const override { return currentMoviePath_; }
  const char* workingCopyPath() const override { return workingCopy_.path(); }
  const char* recordingWavPath() const override { return recordingWav_.path(); }
  const char* outputPath() const override { return outputPath_; }
  int frameCount() const override { return frameCount_; }
  double frameRate() const override { return frameRate_; }
  bool keepAspectChecked() const override;
  void stop() override;
  void sizeToMovie(int width, int height, bool keepAspect) override;
  HRESULT loadMovie(const char* path) override;
  void setRecordingActive(bool active) override;
  void setVideoPassActive(bool active) override;
  bool takePendingTick() override;
  void readyForTicks() override;

  PreviewPainter& painter() { return painter_; }
  int movieWidth() const { return movieWidth_; }
  int movieHeight() const { return movieHeight_; }

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
  void makeWorkingCopy();
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
  ComReference<IUnknown> controlObject_;
  ComReference<IShockwaveFlash> flash_;
  TimerSite site_;
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
  char movieFolder_[MAX_PATH];  // of the opened movie: its copies load their files from there
  TemporaryFile expandedCopy_;  // the current movie when it was a compressed one
  TemporaryFile workingCopy_;
  char outputPath_[MAX_PATH];
  TemporaryFile recordingWav_;
  ExportHandOver* exportHandOver_;
};
