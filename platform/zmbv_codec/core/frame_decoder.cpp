#include "frame_decoder.h"

#include <algorithm>
#include <climits>
#include <cstring>

#include "zmbv_format.h"

namespace zmbv {

FrameDecoder::FrameDecoder(int width, int height)
    : width_(width), height_(height), current_(width, height), next_(width, height) {
  streamReady_ = inflateInit(&stream_) == Z_OK;
}

FrameDecoder::~FrameDecoder() {
  if (streamReady_) inflateEnd(&stream_);
}

bool FrameDecoder::decode(const uint8_t* data, size_t size) {
  if (!streamReady_ || data == nullptr || size == 0) return false;
  const bool ok = (data[0] & kKeyFrameFlag) ? decodeKey(data, size) : decodeDelta(data, size);
  // A refused frame leaves the zlib stream out of step: wait for the next key frame.
  if (!ok) haveKey_ = false;
  return ok;
}

bool FrameDecoder::decodeKey(const uint8_t* data, size_t size) {
  if (size < kKeyHeaderSize || (data[0] & kPaletteChangeFlag) || data[1] != kVersionMajor || data[2] != kVersionMinor ||
      data[4] != kFormat32 || data[5] == 0 || data[6] == 0)
    return false;
  if (data[3] != kCompressionZlib && data[3] != kCompressionNone) return false;
  compressed_ = data[3] == kCompressionZlib;
  blockWidth_ = data[5];
  blockHeight_ = data[6];
  if (compressed_ && inflateReset(&stream_) != Z_OK) return false;
  const size_t pictureBytes = current_.pixels.size() * kBytesPerPixel;
  const uint8_t* raw = nullptr;
  size_t rawSize = 0;
  if (!unpack(data + kKeyHeaderSize, size - kKeyHeaderSize, pictureBytes, raw, rawSize) || rawSize != pictureBytes)
    return false;
  std::memcpy(current_.pixels.data(), raw, pictureBytes);
  haveKey_ = true;
  return true;
}

bool FrameDecoder::decodeDelta(const uint8_t* data, size_t size) {
  if (!haveKey_ || (data[0] & kPaletteChangeFlag)) return false;
  const size_t limit =
      vectorListSize(blockCount(width_, height_, blockWidth_, blockHeight_)) + current_.pixels.size() * kBytesPerPixel;
  const uint8_t* raw = nullptr;
  size_t rawSize = 0;
  return unpack(data + 1, size - 1, limit, raw, rawSize) && applyBlocks(raw, rawSize);
}

// The frame's body as it was before zlib, at most limit bytes.
bool FrameDecoder::unpack(const uint8_t* data, size_t size, size_t limit, const uint8_t*& raw, size_t& rawSize) {
  if (!compressed_) {
    raw = data;
    rawSize = size;
    return size <= limit;
  }
  // One byte of room past the limit lets zlib take the whole flush, and shows overlong frames.
  raw_.resize(limit + 1);
  stream_.next_in = const_cast<Bytef*>(data);
  stream_.avail_in = static_cast<uInt>(std::min<size_t>(size, UINT_MAX));
  stream_.next_out = raw_.data();
  stream_.avail_out = static_cast<uInt>(raw_.size());
  const int result = inflate(&stream_, Z_SYNC_FLUSH);
  if (result != Z_OK && result != Z_STREAM_END && result != Z_BUF_ERROR) return false;
  if (stream_.avail_in != 0 || size > UINT_MAX) return false;
  // Every frame ends with a sync flush: zlib between blocks, at a byte boundary.
  // Anything else is a cut frame, and the next one would not follow on.
  if ((stream_.data_type & (128 | 7)) != 128) return false;
  raw = raw_.data();
  rawSize = raw_.size() - stream_.avail_out;
  return rawSize <= limit;
}

// One row of w pixels of the previous picture from (x, y); pixels outside it are zero.
void FrameDecoder::copyClipped(uint32_t* target, int x, int y, int w) const {
  for (int column = 0; column < w; ++column) {
    const bool inside = y >= 0 && y < height_ && x + column >= 0 && x + column < width_;
    target[column] = inside ? current_.row(y)[x + column] : 0;
  }
}

// The vector list and XOR data of a delta frame onto the previous picture. Parts
// of a moved block that fall outside the picture read as zero.
bool FrameDecoder::applyBlocks(const uint8_t* raw, size_t rawSize) {
  const size_t listSize = vectorListSize(blockCount(width_, height_, blockWidth_, blockHeight_));
  if (rawSize < listSize) return false;
  const uint8_t* vector = raw;
  const uint8_t* xorData = raw + listSize;
  const uint8_t* end = raw + rawSize;
  for (int y = 0; y < height_; y += blockHeight_) {
    const int h = std::min(blockHeight_, height_ - y);
    for (int x = 0; x < width_; x += blockWidth_, vector += 2) {
      const int w = std::min(blockWidth_, width_ - x);
      const bool withXor = vector[0] & 1;
      const int dx = static_cast<int8_t>(vector[0]) >> 1;
      const int dy = static_cast<int8_t>(vector[1]) >> 1;
      const size_t xorBytes = static_cast<size_t>(w) * kBytesPerPixel;
      if (withXor && static_cast<size_t>(end - xorData) < xorBytes * h) return false;
      const bool inside = x + dx >= 0 && y + dy >= 0 && x + dx + w <= width_ && y + dy + h <= height_;
      for (int row = 0; row < h; ++row) {
        uint32_t* target = next_.row(y + row) + x;
        if (inside) {
          std::memcpy(target, current_.row(y + row + dy) + x + dx, static_cast<size_t>(w) * sizeof *target);
        } else {
          copyClipped(target, x + dx, y + row + dy, w);
        }
        if (withXor) {
          for (int column = 0; column < w; ++column, xorData += kBytesPerPixel) {
            uint32_t value;
            std::memcpy(&value, xorData, sizeof value);
            target[column] ^= value;
          }
        }
      }
    }
  }
  if (xorData != end) return false;
  std::swap(current_.pixels, next_.pixels);
  return true;
}

}  // namespace zmbv
