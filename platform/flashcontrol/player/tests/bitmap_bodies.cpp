#include "bitmap_bodies.h"

#include <zlib.h>

namespace playertest {

Bytes zlibBytes(const Bytes& raw) {
  uLongf size = compressBound(uLong(raw.size()));
  Bytes out(size);
  if (compress2(out.data(), &size, raw.data(), uLong(raw.size()), 9) != Z_OK) return {};
  out.resize(size);
  return out;
}

Bytes losslessBody(uint16_t id, uint8_t format, int width, int height, const Bytes& raw, int tableCount) {
  Bytes out;
  mvqtest::putU16(out, id);
  mvqtest::putU8(out, format);
  mvqtest::putU16(out, uint32_t(width));
  mvqtest::putU16(out, uint32_t(height));
  if (format == 3) mvqtest::putU8(out, uint32_t(tableCount - 1));
  mvqtest::append(out, zlibBytes(raw));
  return out;
}

Bytes argbBody(uint16_t id, int width, int height, const Bytes& argb) {
  return losslessBody(id, 5, width, height, argb);
}

}  // namespace playertest
