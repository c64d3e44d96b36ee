// Paints the player's current frame onto any device context. The frame is
// rendered into a premultiplied 32-bit DIB section, kept there while the
// player and the view stay the same, and blended over the target with
// per-pixel alpha, so transparent parts keep what the target holds. An opaque
// frame is copied instead, straight into the target's memory when that is a
// DIB section. After a tick the painter tells which part of the picture changed,
// so that the host repaints only that.
#pragma once

#include <windows.h>

#include <cstdint>

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
  HRESULT paint(const swf::MoviePlayer& player, HDC dc, const RECT& rect, swf::ScaleMode mode, bool opaque);

  // The part of rect whose pixels differ from the picture drawn last for the
  // same view (all of rect when there is none); empty when nothing changed.
  RECT changedArea(const swf::MoviePlayer& player, const RECT& rect, swf::ScaleMode mode, bool opaque);

 private:
  struct Buffer {
    HBITMAP bitmap = nullptr;
    uint8_t* bits = nullptr;
    int width = 0;
    int height = 0;
  };
  // What a kept picture shows.
  struct View {
    const swf::MoviePlayer* player = nullptr;
    uint64_t revision = 0;
    int width = 0;
    int height = 0;
    swf::ScaleMode mode = swf::ScaleMode::ShowAll;
    bool opaque = false;
    bool sameLayout(const View& other) const;
  };

  bool ensure(Buffer& buffer, int width, int height);
  void release(Buffer& buffer);
  void render(const swf::MoviePlayer& player, const Buffer& buffer, int viewX, int viewY, int viewW, int viewH,
              swf::ScaleMode mode, bool opaque);
  bool keepPicture(const View& view);
  HRESULT copyOpaque(HDC dc, const RECT& visible, POINT from);
  HRESULT blend(HDC dc, const RECT& visible, POINT from);

  HDC memoryDC_ = nullptr;
  HGDIOBJ originalBitmap_ = nullptr;
  Buffer picture_;                // the picture drawn last
  Buffer spare_;                  // where a tick's picture is rendered to compare with it
  View shown_;                    // what picture_ holds; empty (no player) when nothing is kept
  bool changeUnpainted_ = false;  // a tick reported a change that no paint has shown yet
};
