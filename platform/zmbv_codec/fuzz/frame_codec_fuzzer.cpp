// fuzz-zmbv-frames: pictures made from the input are encoded, some frames then
// damaged as the input says, and all decoded. Undamaged frames after an
// undamaged key frame must decode to their picture exactly; nothing may crash.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "core/frame_decoder.h"
#include "core/frame_encoder.h"

namespace {

class Input {
 public:
  Input(const uint8_t* data, size_t size) : data_(data), size_(size) {}
  bool empty() const { return at_ >= size_; }
  uint8_t next() { return at_ < size_ ? data_[at_++] : 0; }

 private:
  const uint8_t* data_;
  size_t size_;
  size_t at_ = 0;
};

// A picture of few colours in runs, so that blocks repeat and move.
zmbv::Picture picture(Input& input, int width, int height) {
  zmbv::Picture result(width, height);
  const uint32_t palette[4] = {0x000000, 0xFF8020, 0x2040C0, input.next() * 0x010203u};
  for (size_t i = 0; i < result.pixels.size();) {
    const uint8_t run = input.next();
    for (int k = 0; k <= run % 64 && i < result.pixels.size(); ++k) result.pixels[i++] = palette[run >> 6];
  }
  return result;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  Input input(data, size);
  const int width = 1 + input.next() % 48, height = 1 + input.next() % 48;
  zmbv::FrameEncoder encoder(width, height, input.next() % 16);
  zmbv::FrameDecoder decoder(width, height);
  bool inStep = false;  // the decoder has had every frame since a key frame whole
  for (int frame = 0; frame < 6 && !input.empty(); ++frame) {
    const zmbv::Picture shown = picture(input, width, height);
    std::vector<uint8_t> bytes(zmbv::FrameEncoder::maxFrameSize(width, height));
    bool key = false;
    const uint8_t control = input.next();
    encoder.next() = shown;
    bytes.resize(encoder.encode(control & 1, 1 + control % 9, bytes.data(), bytes.size(), key));
    if (bytes.empty()) std::abort();  // the announced size always suffices
    const int damage = (control >> 4) % 4;
    for (int k = 0; k < damage; ++k) bytes[input.next() % bytes.size()] ^= input.next() | 1;
    if (damage > 0 && (control & 2)) bytes.resize(input.next() % bytes.size());
    const bool decoded = decoder.decode(bytes.data(), bytes.size());
    inStep = damage == 0 && (key || inStep);
    if (inStep && (!decoded || decoder.picture().pixels != shown.pixels)) std::abort();
  }
  return 0;
}
