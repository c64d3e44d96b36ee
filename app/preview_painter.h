// Paints the Flash control of the PreviewHost itself: the control draws into
// an off-screen FrameSurface, which is then copied to the window. The video
// pass reads its frames from that surface.
#pragma once

#include <windows.h>

#include "frame_surface.h"

struct PreviewPainter {
  HWND host;
  WNDPROC previous;
  HDC memoryDc;  // made on the first paint, kept until the painter goes
  FrameSurface surface;
  int painting;
  int skipCounter;

  PreviewPainter();
  ~PreviewPainter();
  PreviewPainter(const PreviewPainter&) = delete;
  PreviewPainter& operator=(const PreviewPainter&) = delete;

  void subclass(HWND previewHost);
  // Puts the previous window procedure back if the host still has ours.
  void restore();
  void paint();
};
