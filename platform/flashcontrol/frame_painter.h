// Paints the player's current frame onto any device context: the frame is
// rendered into a premultiplied 32-bit DIB section and blended over the target
// with per-pixel alpha, so transparent parts keep what the target holds.
#pragma once

#include <windows.h>

#include "movie_player.h"

class FramePainter {
 public:
  FramePainter() = default;
  ~FramePainter();
  FramePainter(const FramePainter&) = delete;
  FramePainter& operator=(const FramePainter&) = delete;

  // Draws the stage mapped onto rect (logical units of dc) by mode; only the
  // part inside the target's clip box is rendered. With opaque the rectangle
  // is first filled with the movie's background colour.
  HRESULT paint(const swf::MoviePlayer& player, HDC dc, const RECT& rect, swf::ScaleMode mode,
                bool opaque);

 private:
  bool ensureBuffer(int width, int height);
  void freeBuffer();

  HDC memoryDC_ = nullptr;
  HBITMAP bitmap_ = nullptr;
  HGDIOBJ previousBitmap_ = nullptr;
  uint8_t* bits_ = nullptr;
  int width_ = 0;
  int height_ = 0;
};
