// MP3 is decoded by the platform (on Windows through the audio compression
// manager); without a factory MP3 sounds play as silence.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

namespace swf {

class Mp3Decoder {
 public:
  virtual ~Mp3Decoder() = default;
  // MP3 frames in, 16-bit interleaved samples out; a stream's blocks are fed one
  // after another into the same decoder, which keeps what spans them.
  virtual void decode(const uint8_t* data, size_t size, std::vector<int16_t>& out) = 0;
};

class Mp3DecoderFactory {
 public:
  virtual ~Mp3DecoderFactory() = default;
  // A decoder for MP3 of this rate (Hz) and channel count, or null.
  virtual std::unique_ptr<Mp3Decoder> create(int rate, int channels) = 0;
};

}  // namespace swf
