#include "place3_writer.h"

#include <cmath>
#include <cstring>

#include "bit_writer.h"
#include "byte_writer.h"

namespace playertest {
namespace {

using mvqtest::putRgba;
using mvqtest::putU16;
using mvqtest::putU32;
using mvqtest::putU8;

void putFixed(Bytes& out, double v) { putU32(out, uint32_t(int32_t(std::lround(v * 65536)))); }
void putFixed8(Bytes& out, double v) { putU16(out, uint16_t(int16_t(std::lround(v * 256)))); }
void putFloat(Bytes& out, float v) {
  uint32_t bits;
  std::memcpy(&bits, &v, 4);
  putU32(out, bits);
}

uint8_t flagsOf(const ShadowDraft& s, bool withOnTop) {
  uint8_t b = uint8_t((s.inner ? 0x80 : 0) | (s.knockout ? 0x40 : 0) | (s.compositeSource ? 0x20 : 0));
  if (withOnTop) return uint8_t(b | (s.onTop ? 0x10 : 0) | (s.passes & 0x0F));
  return uint8_t(b | (s.passes & 0x1F));
}

Bytes gradientFilter(uint8_t id, const std::vector<std::pair<uint8_t, mvqtest::Rgba>>& stops, const ShadowDraft& s) {
  Bytes b{id, uint8_t(stops.size())};
  for (const auto& st : stops) putRgba(b, st.second);
  for (const auto& st : stops) putU8(b, st.first);
  putFixed(b, s.blurX), putFixed(b, s.blurY), putFixed(b, s.angle), putFixed(b, s.distance);
  putFixed8(b, s.strength);
  putU8(b, flagsOf(s, true));
  return b;
}

}  // namespace

namespace filters {

Bytes blur(double blurX, double blurY, int passes) {
  Bytes b{1};
  putFixed(b, blurX), putFixed(b, blurY);
  putU8(b, uint8_t(passes << 3));
  return b;
}

Bytes dropShadow(const ShadowDraft& s) {
  Bytes b{0};
  putRgba(b, s.color);
  putFixed(b, s.blurX), putFixed(b, s.blurY), putFixed(b, s.angle), putFixed(b, s.distance);
  putFixed8(b, s.strength);
  putU8(b, flagsOf(s, false));
  return b;
}

Bytes glow(const ShadowDraft& s) {
  Bytes b{2};
  putRgba(b, s.color);
  putFixed(b, s.blurX), putFixed(b, s.blurY);
  putFixed8(b, s.strength);
  putU8(b, flagsOf(s, false));
  return b;
}

Bytes bevel(const ShadowDraft& s) {
  Bytes b{3};
  putRgba(b, s.highlight);
  putRgba(b, s.color);
  putFixed(b, s.blurX), putFixed(b, s.blurY), putFixed(b, s.angle), putFixed(b, s.distance);
  putFixed8(b, s.strength);
  putU8(b, flagsOf(s, true));
  return b;
}

Bytes gradientGlow(const std::vector<std::pair<uint8_t, mvqtest::Rgba>>& stops, const ShadowDraft& s) {
  return gradientFilter(4, stops, s);
}

Bytes gradientBevel(const std::vector<std::pair<uint8_t, mvqtest::Rgba>>& stops, const ShadowDraft& s) {
  return gradientFilter(7, stops, s);
}

Bytes colorMatrix(const std::vector<float>& m20) {
  Bytes b{6};
  for (float v : m20) putFloat(b, v);
  return b;
}

Bytes convolution(int cols, int rows, const std::vector<float>& kernel, float divisor, float bias,
                  mvqtest::Rgba fallback, bool clamp, bool preserveAlpha) {
  Bytes b{5, uint8_t(cols), uint8_t(rows)};
  putFloat(b, divisor), putFloat(b, bias);
  for (float k : kernel) putFloat(b, k);
  putRgba(b, fallback);
  putU8(b, uint8_t((clamp ? 2 : 0) | (preserveAlpha ? 1 : 0)));
  return b;
}

}  // namespace filters

Bytes Place3::body() const {
  const uint8_t flags = uint8_t((colorTransform ? 0x08 : 0) | 0x04 | (character ? 0x02 : 0) | (move ? 0x01 : 0));
  const uint8_t flags2 = uint8_t((opaqueBackground ? 0x40 : 0) | (cacheAsBitmap ? 0x04 : 0) | (blendMode ? 0x02 : 0) |
                                 (filters.empty() ? 0 : 0x01));
  Bytes b{flags, flags2};
  putU16(b, depth);
  if (character) putU16(b, *character);
  mvqtest::BitWriter m;
  mvqtest::writeMatrix(m, matrix);
  mvqtest::append(b, m.bytes());
  if (colorTransform) {
    mvqtest::BitWriter c;
    mvqtest::writeColorTransform(c, *colorTransform);
    mvqtest::append(b, c.bytes());
  }
  if (!filters.empty()) {
    putU8(b, uint8_t(filters.size()));
    for (const Bytes& f : filters) mvqtest::append(b, f);
  }
  if (blendMode) putU8(b, *blendMode);
  if (cacheAsBitmap) putU8(b, *cacheAsBitmap ? 1 : 0);
  if (opaqueBackground) putRgba(b, *opaqueBackground);
  return b;
}

}  // namespace playertest
