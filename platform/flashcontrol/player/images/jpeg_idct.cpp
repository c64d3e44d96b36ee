// The Loeffler-Ligtenberg-Moschytz factorization with 13-bit constants, in
// 64-bit sums so that no coefficient a hostile stream holds can overflow.
#include "jpeg_idct.h"

namespace swf {

namespace {

constexpr int kConstBits = 13;
constexpr int kPass1Bits = 2;

constexpr int64_t k0_298631336 = 2446;
constexpr int64_t k0_390180644 = 3196;
constexpr int64_t k0_541196100 = 4433;
constexpr int64_t k0_765366865 = 6270;
constexpr int64_t k0_899976223 = 7373;
constexpr int64_t k1_175875602 = 9633;
constexpr int64_t k1_501321110 = 12299;
constexpr int64_t k1_847759065 = 15137;
constexpr int64_t k1_961570560 = 16069;
constexpr int64_t k2_053119869 = 16819;
constexpr int64_t k2_562915447 = 20995;
constexpr int64_t k3_072711026 = 25172;

int64_t descale(int64_t x, int shift) { return (x + (int64_t(1) << (shift - 1))) >> shift; }

// One 8-point transform; in and out step by `step`, results scaled down by `shift` bits.
void transform(const int64_t* in, int64_t* out, int step, int shift) {
  int64_t z2 = in[2 * step], z3 = in[6 * step];
  int64_t z1 = (z2 + z3) * k0_541196100;
  int64_t even2 = z1 - z3 * k1_847759065;
  int64_t even3 = z1 + z2 * k0_765366865;
  int64_t even0 = (in[0] + in[4 * step]) * (int64_t(1) << kConstBits);
  int64_t even1 = (in[0] - in[4 * step]) * (int64_t(1) << kConstBits);
  int64_t t10 = even0 + even3, t13 = even0 - even3;
  int64_t t11 = even1 + even2, t12 = even1 - even2;

  int64_t o0 = in[7 * step], o1 = in[5 * step], o2 = in[3 * step], o3 = in[1 * step];
  int64_t s1 = o0 + o3, s2 = o1 + o2, s3 = o0 + o2, s4 = o1 + o3;
  int64_t s5 = (s3 + s4) * k1_175875602;
  o0 *= k0_298631336;
  o1 *= k2_053119869;
  o2 *= k3_072711026;
  o3 *= k1_501321110;
  s1 *= -k0_899976223;
  s2 *= -k2_562915447;
  s3 = s3 * -k1_961570560 + s5;
  s4 = s4 * -k0_390180644 + s5;
  o0 += s1 + s3;
  o1 += s2 + s4;
  o2 += s2 + s3;
  o3 += s1 + s4;

  out[0] = descale(t10 + o3, shift);
  out[7 * step] = descale(t10 - o3, shift);
  out[1 * step] = descale(t11 + o2, shift);
  out[6 * step] = descale(t11 - o2, shift);
  out[2 * step] = descale(t12 + o1, shift);
  out[5 * step] = descale(t12 - o1, shift);
  out[3 * step] = descale(t13 + o0, shift);
  out[4 * step] = descale(t13 - o0, shift);
}

uint8_t toSample(int64_t v) {
  v += 128;
  return uint8_t(v < 0 ? 0 : v > 255 ? 255 : v);
}

}  // namespace

void inverseDct(const int16_t* coefficients, const uint16_t* quant, uint8_t* out, int stride) {
  int64_t in[64];
  bool onlyDc = true;
  for (int i = 0; i < 64; ++i) {
    in[i] = int64_t(coefficients[i]) * quant[i];
    if (i && in[i]) onlyDc = false;
  }
  if (onlyDc) {
    // What the two passes give a block without AC terms, without running them.
    uint8_t s = toSample(descale(in[0], 3));
    for (int y = 0; y < 8; ++y)
      for (int x = 0; x < 8; ++x) out[y * stride + x] = s;
    return;
  }
  int64_t work[64];
  for (int x = 0; x < 8; ++x) transform(in + x, work + x, 8, kConstBits - kPass1Bits);
  int64_t row[8];
  for (int y = 0; y < 8; ++y) {
    transform(work + y * 8, row, 1, kConstBits + kPass1Bits + 3);
    for (int x = 0; x < 8; ++x) out[y * stride + x] = toSample(row[x]);
  }
}

}  // namespace swf
