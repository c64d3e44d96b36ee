// Writes pictures as ZMBV frames of 32-bit pixels: a key frame is the whole
// picture, a delta frame one motion vector a 16x16 block plus the XOR of the
// blocks that a moved copy of the previous picture does not give exactly. One
// zlib stream runs from a key frame through its delta frames, flushed at the end
// of every frame, so repeated shapes and flat colour cost next to nothing.
#pragma once

#include <zlib.h>

#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "helper_thread.h"
#include "picture.h"

namespace zmbv {

struct MotionVector {
  int dx = 0;
  int dy = 0;
};

class FrameEncoder {
 public:
  // searchRange: how far (pixels, at most kMaxMotion) blocks are looked for; 0 = in place only.
  FrameEncoder(int width, int height, int searchRange);
  ~FrameEncoder();
  FrameEncoder(const FrameEncoder&) = delete;
  FrameEncoder& operator=(const FrameEncoder&) = delete;

  bool ready() const { return streamReady_; }
  // The picture the next encode() writes, filled in place by the caller; after a
  // frame it holds stale pixels (the encoder keeps the frame's buffer, no copy).
  Picture& next() { return next_; }
  // Fills next() from a DIB of the encoder's size, half of the rows on each thread.
  void readFrame(const uint8_t* bits, const DibLayout& layout);
  // Encodes next() (of the encoder's size) into out. A key frame is written when
  // asked for, and also when no previous frame can be referred to. The zlib level
  // (1-9) takes effect at key frames. Returns the frame's size, 0 when it did not
  // fit or zlib failed (the next frame is then a key frame).
  size_t encode(bool keyFrame, int level, uint8_t* out, size_t capacity, bool& wroteKeyFrame);

  static size_t maxFrameSize(int width, int height);

 private:
  struct Piece {
    const uint8_t* data;
    size_t size;
  };
  size_t deflateFrame(const Piece* pieces, size_t count, uint8_t* out, size_t capacity);
  int halfRow(int half) const;
  void buildDelta();
  void buildDeltaHalf(int half);
  MotionVector chooseVector(int x, int y, int w, int h, size_t block, bool aboveInHalf, int& cost);
  bool fits(int x, int y, int w, int h, MotionVector v) const;
  bool unchanged(int x, int y, int w, int h) const;
  int mismatches(int x, int y, int w, int h, MotionVector v, int limit) const;
  void appendXor(int x, int y, int w, int h, MotionVector v, std::vector<uint8_t>& out) const;

  int width_;
  int height_;
  int searchRange_;
  z_stream stream_{};
  bool streamReady_ = false;
  int level_ = Z_DEFAULT_COMPRESSION;
  Picture next_;
  Picture previous_;
  bool havePrevious_ = false;
  std::vector<MotionVector> vectors_;              // each block's vector, kept for the next frame's search
  std::vector<uint8_t> vectorList_;                // a delta frame's vector bytes before zlib
  std::array<std::vector<uint8_t>, 2> xorHalves_;  // and its XOR blocks, top half and bottom half
  HelperThread helper_;
};

}  // namespace zmbv
