#include "filter_renderer.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace swf {
namespace {

// More passes than this look no different and only cost time.
constexpr int kMaxPasses = 15;

int passesOf(const Filter& f) { return std::min(f.passes, kMaxPasses); }

bool usesAlpha(Filter::Kind k) {
  return k != Filter::Kind::Blur && k != Filter::Kind::ColorMatrix && k != Filter::Kind::Convolution;
}

// The blur filter's box, from three pixels up, is the widest odd number of
// whole pixels within its width, as the real player's pictures show (a 20
// pixel blur spreads an edge over 19); narrower boxes keep their fraction.
// Shadows, glows and bevels blur with the width as it is.
double wholeBox(double w) { return w >= 3 ? 2 * std::floor((w - 1) / 2) + 1 : w; }

bool isBevel(Filter::Kind k) { return k == Filter::Kind::Bevel || k == Filter::Kind::GradientBevel; }

inline uint8_t clampByte(double v) { return uint8_t(v <= 0 ? 0 : (v >= 255 ? 255 : v + 0.5)); }

inline uint8_t scaleByte(int v, double strength) { return clampByte(v * strength); }

Bgra scaled(const Bgra& c, uint32_t k) {
  return Bgra{uint8_t(div255(c.b * k)), uint8_t(div255(c.g * k)), uint8_t(div255(c.r * k)), uint8_t(div255(c.a * k))};
}

// Premultiplied s over d.
Bgra over(const Bgra& s, const Bgra& d) {
  uint32_t inv = 255u - s.a;
  return Bgra{uint8_t(s.b + div255(d.b * inv)), uint8_t(s.g + div255(d.g * inv)), uint8_t(s.r + div255(d.r * inv)),
              uint8_t(s.a + div255(d.a * inv))};
}

}  // namespace

FilterReach FilterRenderer::reach(const FilterList& filters, double scale) {
  FilterReach r;
  for (const Filter& f : filters) {
    if (f.kind == Filter::Kind::ColorMatrix) continue;
    if (f.kind == Filter::Kind::Convolution) {
      r.x += f.matrixX / 2 + 1;
      r.y += f.matrixY / 2 + 1;
      continue;
    }
    int passes = passesOf(f);
    double d = std::fabs(f.distance) * scale;
    int shift = usesAlpha(f.kind) && f.kind != Filter::Kind::Glow ? int(std::ceil(std::min(d, 4096.0))) : 0;
    r.x += BoxBlur::reach(f.blurX * scale, passes) + shift;
    r.y += BoxBlur::reach(f.blurY * scale, passes) + shift;
  }
  return r;
}

void FilterRenderer::apply(const FilterList& filters, double scale, PixelLayer& layer) {
  if (layer.box().empty()) return;
  for (const Filter& f : filters) applyOne(f, scale, layer);
}

void FilterRenderer::applyOne(const Filter& f, double scale, PixelLayer& layer) {
  switch (f.kind) {
    case Filter::Kind::Blur:
      blur_.run(layer.row(0), layer.width(), layer.height(), layer.width() * 4, 4, wholeBox(f.blurX * scale),
                wholeBox(f.blurY * scale), passesOf(f));
      return;
    case Filter::Kind::ColorMatrix: return colorMatrix(f, layer);
    case Filter::Kind::Convolution: return convolution(f, layer);
    default: return alphaEffect(f, scale, layer);
  }
}

// On straight colours, offsets in 0..255.
void FilterRenderer::colorMatrix(const Filter& f, PixelLayer& layer) {
  const auto& m = f.matrix;
  for (int y = 0; y < layer.height(); ++y) {
    uint8_t* px = layer.row(y);
    for (int x = 0; x < layer.width(); ++x, px += 4) {
      double a = px[3];
      double r = a ? px[2] * 255.0 / a : 0, g = a ? px[1] * 255.0 / a : 0, b = a ? px[0] * 255.0 / a : 0;
      double out[4];
      for (int row = 0; row < 4; ++row) {
        const float* k = &m[size_t(row) * 5];
        out[row] = k[0] * r + k[1] * g + k[2] * b + k[3] * a + k[4];
      }
      uint32_t na = clampByte(out[3]);
      px[2] = uint8_t(div255(clampByte(out[0]) * na));
      px[1] = uint8_t(div255(clampByte(out[1]) * na));
      px[0] = uint8_t(div255(clampByte(out[2]) * na));
      px[3] = uint8_t(na);
    }
  }
}

// Each output pixel is the kernel-weighted sum of the straight colours
// around it, divided and biased; outside the layer is the nearest edge
// pixel (clamp) or the filter's colour.
void FilterRenderer::convolution(const Filter& f, PixelLayer& layer) {
  const int w = layer.width(), h = layer.height();
  const int mx = f.matrixX, my = f.matrixY;
  if (mx == 0 || my == 0 || f.kernel.size() != size_t(mx) * size_t(my)) return;
  const double divisor = f.divisor == 0 ? 1.0 : double(f.divisor);
  const double straightDefault[4] = {double(f.defaultColor.b), double(f.defaultColor.g), double(f.defaultColor.r),
                                     double(f.defaultColor.a)};
  out_.resize(size_t(w) * size_t(h) * 4);
  for (int y = 0; y < h; ++y) {
    for (int x = 0; x < w; ++x) {
      double sum[4] = {0, 0, 0, 0};
      for (int ky = 0; ky < my; ++ky) {
        for (int kx = 0; kx < mx; ++kx) {
          int sx = x + kx - mx / 2, sy = y + ky - my / 2;
          double k = f.kernel[size_t(ky) * size_t(mx) + size_t(kx)];
          if (k == 0) continue;
          const bool inside = sx >= 0 && sy >= 0 && sx < w && sy < h;
          if (!inside && !f.clamp) {
            for (int c = 0; c < 4; ++c) sum[c] += k * straightDefault[c];
            continue;
          }
          const uint8_t* p = layer.row(std::clamp(sy, 0, h - 1)) + size_t(std::clamp(sx, 0, w - 1)) * 4;
          double a = p[3];
          for (int c = 0; c < 3; ++c) sum[c] += a ? k * p[c] * 255.0 / a : 0;
          sum[3] += k * a;
        }
      }
      const uint8_t* self = layer.row(y) + size_t(x) * 4;
      uint32_t a = f.preserveAlpha ? self[3] : clampByte(sum[3] / divisor + f.bias);
      uint8_t* o = &out_[(size_t(y) * size_t(w) + size_t(x)) * 4];
      for (int c = 0; c < 3; ++c) o[c] = uint8_t(div255(clampByte(sum[c] / divisor + f.bias) * a));
      o[3] = uint8_t(a);
    }
  }
  for (int y = 0; y < h; ++y) std::memcpy(layer.row(y), &out_[size_t(y) * size_t(w) * 4], size_t(w) * 4);
}

int FilterRenderer::blurredAlpha(int x, int y) const {
  if (x < 0 || y < 0 || x >= width_ || y >= height_) return 0;
  return alpha_[size_t(y) * size_t(width_) + size_t(x)];
}

void FilterRenderer::alphaEffect(const Filter& f, double scale, PixelLayer& layer) {
  width_ = layer.width();
  height_ = layer.height();
  alpha_.resize(size_t(width_) * size_t(height_));
  for (int y = 0; y < height_; ++y) {
    const uint8_t* px = layer.row(y);
    uint8_t* a = &alpha_[size_t(y) * size_t(width_)];
    for (int x = 0; x < width_; ++x) a[x] = px[size_t(x) * 4 + 3];
  }
  blur_.run(alpha_.data(), width_, height_, width_, 1, f.blurX * scale, f.blurY * scale, passesOf(f));

  Offset off;
  if (f.kind != Filter::Kind::Glow) {
    off.x = int(std::lround(std::cos(f.angle) * f.distance * scale));
    off.y = int(std::lround(std::sin(f.angle) * f.distance * scale));
  }
  const bool gradient = f.kind == Filter::Kind::GradientGlow || f.kind == Filter::Kind::GradientBevel;
  if (gradient) {
    Gradient g;
    for (const GradientStop& s : f.gradient) g.stops.push_back(s);
    ramp_ = buildGradientRamp(g, ColorTransform{});
  }
  color_ = premultiply(f.color);
  highlight_ = premultiply(f.highlight);
  for (int y = 0; y < height_; ++y) {
    uint8_t* px = layer.row(y);
    for (int x = 0; x < width_; ++x, px += 4) {
      Bgra e = isBevel(f.kind) ? bevelAt(f, x, y, off) : shadowAt(f, x, y, off);
      combine(f, e, px);
    }
  }
}

Bgra FilterRenderer::shadowAt(const Filter& f, int x, int y, Offset off) const {
  int a = blurredAlpha(x - off.x, y - off.y);
  if (f.inner) a = 255 - a;
  uint8_t level = scaleByte(a, f.strength);
  if (f.kind == Filter::Kind::GradientGlow) return ramp_[level];
  return scaled(color_, level);
}

// The light comes from the side opposite the angle: where the alpha rises
// towards the light the edge is lit, where it falls it is in shadow.
Bgra FilterRenderer::bevelAt(const Filter& f, int x, int y, Offset off) const {
  int lit = blurredAlpha(x + off.x, y + off.y) - blurredAlpha(x - off.x, y - off.y);
  if (f.kind == Filter::Kind::GradientBevel) {
    return ramp_[clampByte(128 - lit * f.strength / 2)];
  }
  Bgra h = scaled(highlight_, scaleByte(std::max(lit, 0), f.strength));
  Bgra s = scaled(color_, scaleByte(std::max(-lit, 0), f.strength));
  return Bgra{uint8_t(std::min(255, h.b + s.b)), uint8_t(std::min(255, h.g + s.g)), uint8_t(std::min(255, h.r + s.r)),
              uint8_t(std::min(255, h.a + s.a))};
}

// Inner effects stay within the object (drawn on it, or alone); outer ones
// go behind it, or alone; bevels on top go over it. Knockout leaves out the
// object, and with it what it covers of an outer effect (a bevel on top
// stays whole).
void FilterRenderer::combine(const Filter& f, const Bgra& effect, uint8_t* px) {
  const Bgra src{px[0], px[1], px[2], px[3]};
  Bgra out;
  if (f.inner) {
    Bgra inside = scaled(effect, src.a);
    if (f.knockout || !f.compositeSource) {
      out = inside;
    } else {
      uint32_t inv = 255u - effect.a;
      auto atop = [&](uint8_t e, uint8_t s) { return uint8_t(std::min<uint32_t>(src.a, e + div255(s * inv))); };
      out = Bgra{atop(inside.b, src.b), atop(inside.g, src.g), atop(inside.r, src.r), src.a};
    }
  } else if ((f.knockout || !f.compositeSource) && f.onTop && isBevel(f.kind)) {
    out = effect;
  } else if (f.knockout) {
    out = scaled(effect, 255u - src.a);
  } else if (!f.compositeSource) {
    out = effect;
  } else if (f.onTop && isBevel(f.kind)) {
    out = over(effect, src);
  } else {
    out = over(src, effect);
  }
  px[0] = out.b, px[1] = out.g, px[2] = out.r, px[3] = out.a;
}

}  // namespace swf
