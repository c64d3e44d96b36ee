#include "jpeg_reconstruction.h"

#include <algorithm>

#include "jpeg_idct.h"

namespace swf {

namespace {

struct Plane {
  int stride = 0;
  std::vector<uint8_t> samples;
  const uint8_t* row(int y) const { return &samples[size_t(y) * stride]; }
};

Plane samplesOf(JpegComponent& c) {
  Plane p;
  p.stride = c.blocksWide * 8;
  p.samples.resize(size_t(p.stride) * c.blocksHigh * 8);
  int wide = (c.width + 7) / 8, high = (c.height + 7) / 8;
  for (int by = 0; by < high; ++by)
    for (int bx = 0; bx < wide; ++bx)
      inverseDct(c.block(bx, by), c.quant, &p.samples[(size_t(by) * 8 * p.stride) + bx * 8], p.stride);
  std::vector<int16_t>().swap(c.coefficients);
  return p;
}

// The neighbour a doubled sample leans towards: the one on its side of the
// original sample's centre, the edge sample repeated past the border.
int neighbour(int doubled, int limit) {
  int i = doubled / 2;
  return std::clamp(doubled % 2 ? i + 1 : i - 1, 0, limit - 1);
}

// One output row of a component at full resolution. A factor of two weighs
// the nearer sample 3/4 and the farther 1/4 in each direction; any other
// factor repeats samples.
void upsampleRow(const JpegComponent& c, const Plane& p, const JpegFrame& f, int y, std::vector<int>& column,
                 uint8_t* out) {
  int ry = f.vmax / c.v, rx = f.hmax / c.h;
  const uint8_t* near = p.row(ry == 2 ? y / 2 : y / ry);
  const uint8_t* far = ry == 2 ? p.row(neighbour(y, c.height)) : near;
  for (int i = 0; i < c.width; ++i) column[i] = ry == 2 ? 3 * near[i] + far[i] : 4 * near[i];
  for (int x = 0; x < f.width; ++x) {
    int sum = rx == 2 ? 3 * column[x / 2] + column[neighbour(x, c.width)] : 4 * column[x / rx];
    out[x] = uint8_t((sum + 8) >> 4);
  }
}

// (v / 65536) rounded to nearest, for |v| < 2^24, without shifting a negative number.
int fixedToInt(int v) { return ((v + (256 << 16) + (1 << 15)) >> 16) - 256; }

uint8_t clampByte(int v) { return uint8_t(std::clamp(v, 0, 255)); }

Bgra fromYCbCr(int y, int cb, int cr) {
  cb -= 128;
  cr -= 128;
  int r = y + fixedToInt(91881 * cr);
  int g = y - fixedToInt(22554 * cb + 46802 * cr);
  int b = y + fixedToInt(116130 * cb);
  return Bgra{clampByte(b), clampByte(g), clampByte(r), 255};
}

}  // namespace

void reconstructJpeg(JpegFrame& frame, bool rgb, DecodedImage* out) {
  size_t n = frame.components.size();
  std::vector<Plane> planes;
  for (JpegComponent& c : frame.components) planes.push_back(samplesOf(c));
  out->width = frame.width;
  out->height = frame.height;
  out->pixels.assign(size_t(frame.width) * frame.height, Bgra{});
  std::vector<int> column(frame.width);
  std::vector<std::vector<uint8_t>> rows(n, std::vector<uint8_t>(frame.width));
  for (int y = 0; y < frame.height; ++y) {
    for (size_t i = 0; i < n; ++i) upsampleRow(frame.components[i], planes[i], frame, y, column, rows[i].data());
    Bgra* dst = &out->pixels[size_t(y) * frame.width];
    for (int x = 0; x < frame.width; ++x) {
      if (n == 1)
        dst[x] = Bgra{rows[0][x], rows[0][x], rows[0][x], 255};
      else if (rgb)
        dst[x] = Bgra{rows[2][x], rows[1][x], rows[0][x], 255};
      else
        dst[x] = fromYCbCr(rows[0][x], rows[1][x], rows[2][x]);
    }
  }
}

}  // namespace swf
