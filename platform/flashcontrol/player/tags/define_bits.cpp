#include "define_bits.h"

#include "../read/swf_reader.h"

namespace swf {

bool isLosslessBitmapTag(TagCode code) {
  return code == TagCode::DefineBitsLossless || code == TagCode::DefineBitsLossless2;
}

bool isJpegBitmapTag(TagCode code) {
  return code == TagCode::DefineBits || code == TagCode::DefineBitsJpeg2 || code == TagCode::DefineBitsJpeg3 ||
         code == TagCode::DefineBitsJpeg4;
}

bool readLosslessBitmapTag(TagCode code, const uint8_t* body, size_t size, LosslessBitmapTag& out) {
  SwfReader r(body, size);
  LosslessBitmapTag t;
  t.id = r.u16();
  t.format = r.u8();
  t.width = r.u16();
  t.height = r.u16();
  if (t.format == ColorMapped) t.tableSize = r.u8() + 1;
  if (r.overrun()) return false;
  t.withAlpha = code == TagCode::DefineBitsLossless2;
  t.zlibData = r.cursor();
  t.zlibSize = r.remaining();
  out = t;
  return true;
}

bool readJpegBitmapTag(TagCode code, const uint8_t* body, size_t size, JpegBitmapTag& out) {
  SwfReader r(body, size);
  JpegBitmapTag t;
  t.id = r.u16();
  t.usesTables = code == TagCode::DefineBits;
  bool withAlpha = code == TagCode::DefineBitsJpeg3 || code == TagCode::DefineBitsJpeg4;
  size_t imageSize = withAlpha ? r.u32() : 0;
  if (code == TagCode::DefineBitsJpeg4) r.u16();  // deblocking: not applied
  if (r.overrun()) return false;
  if (!withAlpha) imageSize = r.remaining();
  if (imageSize > r.remaining()) return false;
  t.image = r.cursor();
  t.imageSize = imageSize;
  r.skip(imageSize);
  if (withAlpha) {
    t.zlibAlpha = r.cursor();
    t.zlibAlphaSize = r.remaining();
  }
  out = t;
  return true;
}

}  // namespace swf
