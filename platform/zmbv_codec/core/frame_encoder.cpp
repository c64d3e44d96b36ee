#include "frame_encoder.h"

#include <algorithm>
#include <climits>
#include <cstdlib>
#include <cstring>

#include "zmbv_format.h"

namespace zmbv {
namespace {

// Whole block rows are compared in loops of a fixed width, which the compiler
// turns into vector code; blocks at the right edge take the plain loop.
int rowMismatches(const uint32_t* now, const uint32_t* before, int w) {
  int count = 0;
  if (w == kBlockWidth) {
    for (int column = 0; column < kBlockWidth; ++column) count += now[column] != before[column];
  } else {
    for (int column = 0; column < w; ++column) count += now[column] != before[column];
  }
  return count;
}

bool rowsEqual(const uint32_t* now, const uint32_t* before, int w) {
  uint32_t difference = 0;
  if (w == kBlockWidth) {
    for (int column = 0; column < kBlockWidth; ++column) difference |= now[column] ^ before[column];
  } else {
    for (int column = 0; column < w; ++column) difference |= now[column] ^ before[column];
  }
  return difference == 0;
}

}  // namespace

FrameEncoder::FrameEncoder(int width, int height, int searchRange)
    : width_(width),
      height_(height),
      searchRange_(std::clamp(searchRange, 0, kMaxMotion)),
      next_(width, height),
      previous_(width, height),
      vectors_(blockCount(width, height, kBlockWidth, kBlockHeight)) {
  streamReady_ = deflateInit(&stream_, level_) == Z_OK;
}

FrameEncoder::~FrameEncoder() {
  if (streamReady_) deflateEnd(&stream_);
}

void FrameEncoder::readFrame(const uint8_t* bits, const DibLayout& layout) {
  helper_.runHalves([&](int half) { readDibRows(bits, layout, next_, halfRow(half), halfRow(half + 1)); });
}

// The first picture row of a half (2: the end), on a block row boundary so
// that each half's blocks are its own.
int FrameEncoder::halfRow(int half) const {
  if (half <= 0) return 0;
  if (half >= 2) return height_;
  const int blockRows = (height_ + kBlockHeight - 1) / kBlockHeight;
  return std::min(height_, blockRows / 2 * kBlockHeight);
}

size_t FrameEncoder::maxFrameSize(int width, int height) {
  const size_t raw = vectorListSize(blockCount(width, height, kBlockWidth, kBlockHeight)) +
                     static_cast<size_t>(width) * height * kBytesPerPixel;
  // Stored zlib blocks cost 5 bytes in 65535, the sync flush and header a few more.
  return kKeyHeaderSize + raw + raw / 256 + 64;
}

size_t FrameEncoder::encode(bool keyFrame, int level, uint8_t* out, size_t capacity, bool& wroteKeyFrame) {
  wroteKeyFrame = keyFrame || !havePrevious_;
  if (!streamReady_ || next_.width != width_ || next_.height != height_ ||
      next_.pixels.size() != previous_.pixels.size() || capacity < kKeyHeaderSize)
    return 0;
  size_t body = 0;
  size_t header = 1;
  if (wroteKeyFrame) {
    level = std::clamp(level, 1, 9);
    if (deflateReset(&stream_) != Z_OK) return 0;
    if (level != level_ && deflateParams(&stream_, level, Z_DEFAULT_STRATEGY) != Z_OK) return 0;
    level_ = level;
    const uint8_t keyHeader[kKeyHeaderSize] = {kKeyFrameFlag, kVersionMajor, kVersionMinor, kCompressionZlib,
                                               kFormat32,     kBlockWidth,   kBlockHeight};
    std::memcpy(out, keyHeader, kKeyHeaderSize);
    header = kKeyHeaderSize;
    std::fill(vectors_.begin(), vectors_.end(), MotionVector{});
    // Both targets are little-endian: a pixel's bytes are B, G, R, unused, as the format has them.
    const Piece picture{reinterpret_cast<const uint8_t*>(next_.pixels.data()), next_.pixels.size() * kBytesPerPixel};
    body = deflateFrame(&picture, 1, out + header, capacity - header);
  } else {
    out[0] = 0;
    buildDelta();
    const Piece pieces[] = {{vectorList_.data(), vectorList_.size()},
                            {xorHalves_[0].data(), xorHalves_[0].size()},
                            {xorHalves_[1].data(), xorHalves_[1].size()}};
    body = deflateFrame(pieces, 3, out + header, capacity - header);
  }
  if (body == 0) {
    havePrevious_ = false;
    return 0;
  }
  std::swap(previous_, next_);
  havePrevious_ = true;
  return header + body;
}

// The pieces make one frame: all but the last go in without a flush.
size_t FrameEncoder::deflateFrame(const Piece* pieces, size_t count, uint8_t* out, size_t capacity) {
  stream_.next_out = out;
  stream_.avail_out = static_cast<uInt>(std::min<size_t>(capacity, UINT_MAX));
  for (size_t i = 0; i < count; ++i) {
    const bool last = i + 1 == count;
    stream_.next_in = const_cast<uint8_t*>(pieces[i].data);
    stream_.avail_in = static_cast<uInt>(pieces[i].size);
    const int result = deflate(&stream_, last ? Z_SYNC_FLUSH : Z_NO_FLUSH);
    if ((result != Z_OK && result != Z_BUF_ERROR) || stream_.avail_in != 0) return 0;
  }
  // A full buffer may hide an unfinished flush: the frame counts only with room left.
  if (stream_.avail_out == 0) return 0;
  return static_cast<size_t>(stream_.next_out - out);
}

void FrameEncoder::buildDelta() {
  vectorList_.assign(vectorListSize(vectors_.size()), 0);
  helper_.runHalves([this](int half) { buildDeltaHalf(half); });
}

// A half writes only its own blocks' vectors and list bytes, and its own XOR data.
void FrameEncoder::buildDeltaHalf(int half) {
  std::vector<uint8_t>& xorData = xorHalves_[half];
  xorData.clear();
  const int top = halfRow(half), bottom = halfRow(half + 1);
  const size_t columns = (width_ + kBlockWidth - 1) / kBlockWidth;
  size_t block = static_cast<size_t>(top / kBlockHeight) * columns;
  for (int y = top; y < bottom; y += kBlockHeight) {
    const int h = std::min(kBlockHeight, height_ - y);
    for (int x = 0; x < width_; x += kBlockWidth, ++block) {
      const int w = std::min(kBlockWidth, width_ - x);
      int cost = 0;
      const MotionVector v = chooseVector(x, y, w, h, block, y > top, cost);
      vectors_[block] = v;
      const bool exact = cost == 0;
      vectorList_[2 * block] = static_cast<uint8_t>((v.dx * 2) | (exact ? 0 : 1));
      vectorList_[2 * block + 1] = static_cast<uint8_t>(v.dy * 2);
      if (!exact) appendXor(x, y, w, h, v, xorData);
    }
  }
}

// The cheapest of a few likely vectors (in place, this block's last one, its
// neighbours'), then a step search from it: moving flat shapes are found
// without trying every vector of the range. The block above counts only when
// it is of the same half, which the other thread may not have reached.
MotionVector FrameEncoder::chooseVector(int x, int y, int w, int h, size_t block, bool aboveInHalf, int& bestCost) {
  MotionVector best{};
  // Most blocks of an animation stay as they were: look for that first.
  bestCost = unchanged(x, y, w, h) ? 0 : mismatches(x, y, w, h, best, INT_MAX);
  if (bestCost == 0 || searchRange_ == 0) return best;
  const size_t columns = (width_ + kBlockWidth - 1) / kBlockWidth;
  auto consider = [&](MotionVector v) {
    if (!fits(x, y, w, h, v)) return;
    const int cost = mismatches(x, y, w, h, v, bestCost);
    if (cost < bestCost) {
      bestCost = cost;
      best = v;
    }
  };
  consider(vectors_[block]);
  if (block % columns != 0) consider(vectors_[block - 1]);
  if (aboveInHalf) consider(vectors_[block - columns]);
  for (int step = (searchRange_ + 1) / 2; step >= 1 && bestCost > 0; step /= 2) {
    const MotionVector centre = best;
    for (int sy = -1; sy <= 1; ++sy)
      for (int sx = -1; sx <= 1; ++sx)
        if (sx != 0 || sy != 0) consider({centre.dx + sx * step, centre.dy + sy * step});
  }
  return best;
}

bool FrameEncoder::fits(int x, int y, int w, int h, MotionVector v) const {
  return std::abs(v.dx) <= searchRange_ && std::abs(v.dy) <= searchRange_ && x + v.dx >= 0 && y + v.dy >= 0 &&
         x + v.dx + w <= width_ && y + v.dy + h <= height_;
}

bool FrameEncoder::unchanged(int x, int y, int w, int h) const {
  for (int row = 0; row < h; ++row)
    if (!rowsEqual(next_.row(y + row) + x, previous_.row(y + row) + x, w)) return false;
  return true;
}

// Pixels that differ from the previous picture's block moved by v, counted up to limit.
int FrameEncoder::mismatches(int x, int y, int w, int h, MotionVector v, int limit) const {
  int count = 0;
  for (int row = 0; row < h && count < limit; ++row)
    count += rowMismatches(next_.row(y + row) + x, previous_.row(y + row + v.dy) + x + v.dx, w);
  return count;
}

void FrameEncoder::appendXor(int x, int y, int w, int h, MotionVector v, std::vector<uint8_t>& out) const {
  for (int row = 0; row < h; ++row) {
    const uint32_t* now = next_.row(y + row) + x;
    const uint32_t* before = previous_.row(y + row + v.dy) + x + v.dx;
    const size_t at = out.size();
    out.resize(at + static_cast<size_t>(w) * kBytesPerPixel);
    for (int column = 0; column < w; ++column) {
      const uint32_t difference = now[column] ^ before[column];
      std::memcpy(&out[at + column * kBytesPerPixel], &difference, kBytesPerPixel);
    }
  }
}

}  // namespace zmbv
