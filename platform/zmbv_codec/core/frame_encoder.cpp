#include "frame_encoder.h"

#include <algorithm>
#include <climits>
#include <cstdlib>
#include <cstring>

#include "zmbv_format.h"

namespace zmbv {
namespace {

void putPixels(std::vector<uint8_t>& raw, const uint32_t* pixels, size_t count) {
  // Both targets are little-endian: a pixel's bytes are B, G, R, unused.
  const auto* bytes = reinterpret_cast<const uint8_t*>(pixels);
  raw.insert(raw.end(), bytes, bytes + count * kBytesPerPixel);
}

}  // namespace

FrameEncoder::FrameEncoder(int width, int height, int searchRange)
    : width_(width), height_(height), searchRange_(std::clamp(searchRange, 0, kMaxMotion)),
      previous_(width, height),
      vectors_(blockCount(width, height, kBlockWidth, kBlockHeight)) {
  streamReady_ = deflateInit(&stream_, level_) == Z_OK;
}

FrameEncoder::~FrameEncoder() {
  if (streamReady_) deflateEnd(&stream_);
}

size_t FrameEncoder::maxFrameSize(int width, int height) {
  const size_t raw = vectorListSize(blockCount(width, height, kBlockWidth, kBlockHeight)) +
                     static_cast<size_t>(width) * height * kBytesPerPixel;
  // Stored zlib blocks cost 5 bytes in 65535, the sync flush and header a few more.
  return kKeyHeaderSize + raw + raw / 256 + 64;
}

size_t FrameEncoder::encode(const Picture& picture, bool keyFrame, int level, uint8_t* out,
                            size_t capacity, bool& wroteKeyFrame) {
  wroteKeyFrame = keyFrame || !havePrevious_;
  if (!streamReady_ || picture.width != width_ || picture.height != height_ || capacity < kKeyHeaderSize)
    return 0;
  size_t header = 1;
  raw_.clear();
  if (wroteKeyFrame) {
    level = std::clamp(level, 1, 9);
    if (deflateReset(&stream_) != Z_OK) return 0;
    if (level != level_ && deflateParams(&stream_, level, Z_DEFAULT_STRATEGY) != Z_OK) return 0;
    level_ = level;
    const uint8_t keyHeader[kKeyHeaderSize] = {kKeyFrameFlag, kVersionMajor, kVersionMinor, kCompressionZlib,
                                               kFormat32, kBlockWidth, kBlockHeight};
    std::memcpy(out, keyHeader, kKeyHeaderSize);
    header = kKeyHeaderSize;
    putPixels(raw_, picture.pixels.data(), picture.pixels.size());
    std::fill(vectors_.begin(), vectors_.end(), MotionVector{});
  } else {
    out[0] = 0;
    buildDelta(picture);
  }
  const size_t body = deflateFrame(out + header, capacity - header);
  if (body == 0) {
    havePrevious_ = false;
    return 0;
  }
  previous_.pixels = picture.pixels;
  havePrevious_ = true;
  return header + body;
}

size_t FrameEncoder::deflateFrame(uint8_t* out, size_t capacity) {
  stream_.next_in = raw_.data();
  stream_.avail_in = static_cast<uInt>(raw_.size());
  stream_.next_out = out;
  stream_.avail_out = static_cast<uInt>(std::min<size_t>(capacity, UINT_MAX));
  const int result = deflate(&stream_, Z_SYNC_FLUSH);
  // A full buffer may hide an unfinished flush: the frame counts only with room left.
  if ((result != Z_OK && result != Z_BUF_ERROR) || stream_.avail_in != 0 || stream_.avail_out == 0) return 0;
  return static_cast<size_t>(stream_.next_out - out);
}

void FrameEncoder::buildDelta(const Picture& picture) {
  const size_t blocks = vectors_.size();
  raw_.assign(vectorListSize(blocks), 0);
  size_t block = 0;
  for (int y = 0; y < height_; y += kBlockHeight) {
    const int h = std::min(kBlockHeight, height_ - y);
    for (int x = 0; x < width_; x += kBlockWidth, ++block) {
      const int w = std::min(kBlockWidth, width_ - x);
      int cost = 0;
      const MotionVector v = chooseVector(picture, x, y, w, h, block, cost);
      vectors_[block] = v;
      const bool exact = cost == 0;
      raw_[2 * block] = static_cast<uint8_t>((v.dx * 2) | (exact ? 0 : 1));
      raw_[2 * block + 1] = static_cast<uint8_t>(v.dy * 2);
      if (!exact) appendXor(picture, x, y, w, h, v);
    }
  }
}

// The cheapest of a few likely vectors (in place, this block's last one, its
// neighbours'), then a step search from it: moving flat shapes are found
// without trying every vector of the range.
MotionVector FrameEncoder::chooseVector(const Picture& picture, int x, int y, int w, int h, size_t block,
                                        int& bestCost) {
  MotionVector best{};
  bestCost = mismatches(picture, x, y, w, h, best, INT_MAX);
  if (bestCost == 0 || searchRange_ == 0) return best;
  const size_t columns = (width_ + kBlockWidth - 1) / kBlockWidth;
  auto consider = [&](MotionVector v) {
    if (!fits(x, y, w, h, v)) return;
    const int cost = mismatches(picture, x, y, w, h, v, bestCost);
    if (cost < bestCost) {
      bestCost = cost;
      best = v;
    }
  };
  consider(vectors_[block]);
  if (block % columns != 0) consider(vectors_[block - 1]);
  if (block >= columns) consider(vectors_[block - columns]);
  for (int step = (searchRange_ + 1) / 2; step >= 1 && bestCost > 0; step /= 2) {
    const MotionVector centre = best;
    for (int sy = -1; sy <= 1; ++sy)
      for (int sx = -1; sx <= 1; ++sx)
        if (sx != 0 || sy != 0) consider({centre.dx + sx * step, centre.dy + sy * step});
  }
  return best;
}

bool FrameEncoder::fits(int x, int y, int w, int h, MotionVector v) const {
  return std::abs(v.dx) <= searchRange_ && std::abs(v.dy) <= searchRange_ && x + v.dx >= 0 &&
         y + v.dy >= 0 && x + v.dx + w <= width_ && y + v.dy + h <= height_;
}

// Pixels that differ from the previous picture's block moved by v, counted up to limit.
int FrameEncoder::mismatches(const Picture& picture, int x, int y, int w, int h, MotionVector v, int limit) const {
  int count = 0;
  for (int row = 0; row < h; ++row) {
    const uint32_t* now = picture.row(y + row) + x;
    const uint32_t* before = previous_.row(y + row + v.dy) + x + v.dx;
    // Most rows of animation match exactly: compare them whole first.
    if (std::memcmp(now, before, static_cast<size_t>(w) * sizeof *now) == 0) continue;
    for (int column = 0; column < w; ++column) count += now[column] != before[column];
    if (count >= limit) return count;
  }
  return count;
}

void FrameEncoder::appendXor(const Picture& picture, int x, int y, int w, int h, MotionVector v) {
  uint32_t line[kBlockWidth];
  for (int row = 0; row < h; ++row) {
    const uint32_t* now = picture.row(y + row) + x;
    const uint32_t* before = previous_.row(y + row + v.dy) + x + v.dx;
    for (int column = 0; column < w; ++column) line[column] = now[column] ^ before[column];
    putPixels(raw_, line, w);
  }
}

}  // namespace zmbv
