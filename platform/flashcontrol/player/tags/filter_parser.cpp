#include "filter_parser.h"

#include <cstring>

namespace swf {
namespace {

// Kernels past 15 x 15 (the most the real player takes) are refused: a
// hostile movie could otherwise make every pixel cost 65025 reads.
constexpr int kMaxKernelSide = 15;
// Lists longer than this are cut: each filter works over the whole layer.
constexpr unsigned kMaxFilters = 16;

double fixed16(SwfReader& r) { return double(int32_t(r.u32())) / 65536.0; }

float float32(SwfReader& r) {
  uint32_t bits = r.u32();
  float f;
  std::memcpy(&f, &bits, sizeof f);
  return f;
}

void readBlurs(SwfReader& r, Filter& f) {
  f.blurX = fixed16(r);
  f.blurY = fixed16(r);
}

void readAngleAndDistance(SwfReader& r, Filter& f) {
  f.angle = fixed16(r);
  f.distance = fixed16(r);
}

// The flags byte that ends shadows, glows and bevels; passes take 5 bits
// where there is no onTop flag, 4 where there is.
void readFlags(SwfReader& r, Filter& f, bool hasOnTop) {
  uint8_t b = r.u8();
  f.inner = b & 0x80;
  f.knockout = b & 0x40;
  f.compositeSource = b & 0x20;
  if (hasOnTop) {
    f.onTop = b & 0x10;
    f.passes = b & 0x0F;
  } else {
    f.passes = b & 0x1F;
  }
}

void readGradient(SwfReader& r, Filter& f) {
  unsigned count = r.u8();
  f.gradient.resize(count);
  for (auto& stop : f.gradient) stop.color = r.rgba();
  for (auto& stop : f.gradient) stop.ratio = r.u8();
}

bool readConvolution(SwfReader& r, Filter& f) {
  f.matrixX = r.u8();
  f.matrixY = r.u8();
  f.divisor = float32(r);
  f.bias = float32(r);
  size_t cells = size_t(f.matrixX) * size_t(f.matrixY);
  if (f.matrixX > kMaxKernelSide || f.matrixY > kMaxKernelSide || cells * 4 > r.remaining()) return false;
  f.kernel.resize(cells);
  for (float& k : f.kernel) k = float32(r);
  f.defaultColor = r.rgba();
  uint8_t b = r.u8();
  f.clamp = b & 0x02;
  f.preserveAlpha = b & 0x01;
  return true;
}

bool readFilter(SwfReader& r, Filter& f) {
  uint8_t id = r.u8();
  if (id > 7) return false;
  f.kind = Filter::Kind(id);
  switch (f.kind) {
    case Filter::Kind::DropShadow:
      f.color = r.rgba();
      readBlurs(r, f);
      readAngleAndDistance(r, f);
      f.strength = r.fixed8();
      readFlags(r, f, false);
      break;
    case Filter::Kind::Blur:
      readBlurs(r, f);
      f.passes = r.u8() >> 3;
      break;
    case Filter::Kind::Glow:
      f.color = r.rgba();
      readBlurs(r, f);
      f.strength = r.fixed8();
      readFlags(r, f, false);
      break;
    case Filter::Kind::Bevel:
      // Movies give the highlight first, whatever the published layout says.
      f.highlight = r.rgba();
      f.color = r.rgba();
      readBlurs(r, f);
      readAngleAndDistance(r, f);
      f.strength = r.fixed8();
      readFlags(r, f, true);
      break;
    case Filter::Kind::GradientGlow:
    case Filter::Kind::GradientBevel:
      readGradient(r, f);
      readBlurs(r, f);
      readAngleAndDistance(r, f);
      f.strength = r.fixed8();
      readFlags(r, f, true);
      break;
    case Filter::Kind::Convolution:
      if (!readConvolution(r, f)) return false;
      break;
    case Filter::Kind::ColorMatrix:
      for (float& m : f.matrix) m = float32(r);
      break;
  }
  return !r.overrun();
}

}  // namespace

bool parseFilterList(SwfReader& r, FilterList& out) {
  out.clear();
  unsigned count = r.u8();
  for (unsigned i = 0; i < count; ++i) {
    Filter f;
    if (!readFilter(r, f)) return false;
    if (out.size() < kMaxFilters) out.push_back(std::move(f));
  }
  return !r.overrun();
}

}  // namespace swf
