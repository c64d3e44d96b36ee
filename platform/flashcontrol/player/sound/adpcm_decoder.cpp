#include "adpcm_decoder.h"

#include <algorithm>

namespace swf {
namespace {

constexpr int kPacketFrames = 4096;

constexpr int kStepSizes[89] = {
    7,    8,     9,     10,    11,    12,    13,    14,    16,    17,    19,    21,    23,    25,   28,
    31,   34,    37,    41,    45,    50,    55,    60,    66,    73,    80,    88,    97,    107,  118,
    130,  143,   157,   173,   190,   209,   230,   253,   279,   307,   337,   371,   408,   449,  494,
    544,  598,   658,   724,   796,   876,   963,   1060,  1166,  1282,  1411,  1552,  1707,  1878, 2066,
    2272, 2499,  2749,  3024,  3327,  3660,  4026,  4428,  4871,  5358,  5894,  6484,  7132,  7845, 8630,
    9493, 10442, 11487, 12635, 13899, 15289, 16818, 18500, 20350, 22385, 24623, 27086, 29794, 32767};

// Step index changes by the code's magnitude bits, for 2 to 5 bits per code.
constexpr int kIndexShift2[2] = {-1, 2};
constexpr int kIndexShift3[4] = {-1, -1, 2, 4};
constexpr int kIndexShift4[8] = {-1, -1, -1, -1, 2, 4, 6, 8};
constexpr int kIndexShift5[16] = {-1, -1, -1, -1, -1, -1, -1, -1, 1, 2, 4, 6, 8, 10, 13, 16};
constexpr const int* kIndexShifts[4] = {kIndexShift2, kIndexShift3, kIndexShift4, kIndexShift5};

class BitSource {
 public:
  BitSource(const uint8_t* data, size_t size) : data_(data), bits_(data ? size * 8 : 0) {}
  bool has(unsigned n) const { return bits_ - pos_ >= n; }
  uint32_t take(unsigned n) {
    uint32_t value = 0;
    for (unsigned i = 0; i < n; ++i, ++pos_) value = value << 1 | ((data_[pos_ >> 3] >> (7 - (pos_ & 7))) & 1);
    return value;
  }

 private:
  const uint8_t* data_;
  size_t bits_;
  size_t pos_ = 0;
};

struct ChannelState {
  int sample = 0;
  int index = 0;

  int16_t decode(uint32_t code, int codeBits) {
    const uint32_t signBit = 1u << (codeBits - 1);
    const int step = kStepSizes[index];
    int difference = step >> (codeBits - 1);
    int part = step;
    for (uint32_t mask = signBit >> 1; mask; mask >>= 1, part >>= 1) {
      if (code & mask) difference += part;
    }
    sample = std::clamp(code & signBit ? sample - difference : sample + difference, -32768, 32767);
    index = std::clamp(index + kIndexShifts[codeBits - 2][code & (signBit - 1)], 0, 88);
    return static_cast<int16_t>(sample);
  }
};

}  // namespace

void decodeAdpcm(const uint8_t* data, size_t size, int channels, size_t maxFrames, std::vector<int16_t>& out) {
  if (channels < 1 || channels > 2) return;
  BitSource bits(data, size);
  if (!bits.has(2)) return;
  const int codeBits = static_cast<int>(bits.take(2)) + 2;
  ChannelState state[2];
  size_t frames = 0;
  const auto wanted = [&] { return maxFrames == 0 || frames < maxFrames; };
  while (wanted() && bits.has(22u * channels)) {
    for (int c = 0; c < channels; ++c) {
      state[c].sample = static_cast<int16_t>(bits.take(16));
      state[c].index = static_cast<int>(bits.take(6));
      out.push_back(static_cast<int16_t>(state[c].sample));
    }
    ++frames;
    for (int i = 1; i < kPacketFrames && wanted() && bits.has(unsigned(codeBits * channels)); ++i, ++frames) {
      for (int c = 0; c < channels; ++c) out.push_back(state[c].decode(bits.take(unsigned(codeBits)), codeBits));
    }
  }
}

}  // namespace swf
