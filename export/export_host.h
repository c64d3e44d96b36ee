// What the export passes need of the program's main window: its control and
// clock, the preview they capture frames from, the movie's files and numbers,
// and the tick flags through which the window leaves its ticks to them.
#pragma once

#include <windows.h>
#include <ocmm.h>

#include "frame_surface.h"
#include "shockwave_flash.h"

class ExportHost {
 public:
  virtual HWND window() const = 0;
  virtual IShockwaveFlash* flash() const = 0;
  // The sink of the last tick delivered, and the one the control advised last
  // (known before any tick came).
  virtual ITimerSink* timerSink() const = 0;
  virtual ITimerSink* advisedTimerSink() const = 0;
  // The preview window, and the surface its last paint drew the frame into.
  virtual HWND previewWindow() const = 0;
  virtual const FrameSurface& previewSurface() const = 0;

  virtual const char* currentMoviePath() const = 0;
  virtual const char* workingCopyPath() const = 0;
  virtual const char* recordingWavPath() const = 0;
  virtual const char* outputPath() const = 0;
  virtual int frameCount() const = 0;
  virtual double frameRate() const = 0;
  virtual bool keepAspectChecked() const = 0;

  virtual void stop() = 0;
  virtual void sizeToMovie(int width, int height, bool keepAspect) = 0;
  // Names the movie to the control; put_Movie's result.
  virtual HRESULT loadMovie(const char* path) = 0;

  // While recording, the window hands each tick to the recording pass; while
  // the video pass runs, it ignores them.
  virtual void setRecordingActive(bool active) = 0;
  virtual void setVideoPassActive(bool active) = 0;
  // Takes one of the ticks counted while the pass was busy; false when none is left.
  virtual bool takePendingTick() = 0;
  // The window may post the next tick message.
  virtual void readyForTicks() = 0;

 protected:
  ~ExportHost() = default;
};
