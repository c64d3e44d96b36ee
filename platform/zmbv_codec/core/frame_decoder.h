// Reads ZMBV frames of 32-bit pixels back into pictures. Every frame is checked
// against the picture size before it is used: damaged, truncated or foreign
// data is refused, and after a refusal only a key frame is taken again.
#pragma once

#include <zlib.h>

#include <cstddef>
#include <cstdint>
#include <vector>

#include "picture.h"

namespace zmbv {

class FrameDecoder {
 public:
  FrameDecoder(int width, int height);
  ~FrameDecoder();
  FrameDecoder(const FrameDecoder&) = delete;
  FrameDecoder& operator=(const FrameDecoder&) = delete;

  bool ready() const { return streamReady_; }
  // Decodes one frame onto the picture; false when the frame was refused.
  bool decode(const uint8_t* data, size_t size);
  bool hasPicture() const { return haveKey_; }
  const Picture& picture() const { return current_; }

 private:
  bool decodeKey(const uint8_t* data, size_t size);
  bool decodeDelta(const uint8_t* data, size_t size);
  bool unpack(const uint8_t* data, size_t size, size_t limit, const uint8_t*& raw, size_t& rawSize);
  bool applyBlocks(const uint8_t* raw, size_t rawSize);
  void copyClipped(uint32_t* target, int x, int y, int w) const;

  int width_;
  int height_;
  z_stream stream_{};
  bool streamReady_ = false;
  bool haveKey_ = false;
  bool compressed_ = false;
  int blockWidth_ = 0;
  int blockHeight_ = 0;
  Picture current_;
  Picture next_;
  std::vector<uint8_t> raw_;
};

}  // namespace zmbv
