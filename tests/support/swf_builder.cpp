#include "swf_builder.h"

#include <cmath>
#include <cstdlib>

#include <zlib.h>

namespace mvqtest {

namespace {

Bytes deflated(const Bytes& data, int level) {
  uLongf size = compressBound(static_cast<uLong>(data.size()));
  Bytes out(size);
  if (compress2(out.data(), &size, data.data(), static_cast<uLong>(data.size()), level) != Z_OK) std::abort();
  out.resize(size);
  return out;
}

}  // namespace

SwfBuilder& SwfBuilder::version(uint8_t version) {
  version_ = version;
  return *this;
}

SwfBuilder& SwfBuilder::stage(int32_t xmin, int32_t ymin, int32_t xmax, int32_t ymax, int nbits) {
  return stage(Rect::twips(xmin, ymin, xmax, ymax, nbits));
}

SwfBuilder& SwfBuilder::stage(const Rect& rect) {
  stage_ = rect;
  return *this;
}

SwfBuilder& SwfBuilder::frameRate(double fps) { return frameRateRaw(static_cast<uint16_t>(std::lround(fps * 256.0))); }

SwfBuilder& SwfBuilder::frameRateRaw(uint16_t fixed88) {
  frameRate_ = fixed88;
  return *this;
}

SwfBuilder& SwfBuilder::frameCount(uint16_t count) {
  frameCount_ = count;
  return *this;
}

SwfBuilder& SwfBuilder::fileLength(uint32_t length) {
  fileLength_ = length;
  return *this;
}

SwfBuilder& SwfBuilder::withoutEnd() {
  addEnd_ = false;
  return *this;
}

SwfBuilder& SwfBuilder::afterEnd(const Bytes& trailing) {
  trailing_ = trailing;
  return *this;
}

Bytes SwfBuilder::headerFields() const {
  Bytes out = rectBytes(stage_);
  putU16(out, frameRate_);
  putU16(out, frameCount_.value_or(static_cast<uint16_t>(frames())));
  return out;
}

bool SwfBuilder::endAdded() const { return addEnd_ && !ended(); }

uint32_t SwfBuilder::totalLength() const {
  return static_cast<uint32_t>(8 + headerFields().size() + size() + (endAdded() ? 2 : 0) + trailing_.size());
}

Bytes SwfBuilder::prefix(bool compressed) const {
  Bytes out{static_cast<uint8_t>(compressed ? 'C' : 'F'), 'W', 'S', version_};
  putU32(out, fileLength_.value_or(totalLength()));
  return out;
}

Bytes SwfBuilder::header() const {
  Bytes out = prefix(false);
  append(out, headerFields());
  return out;
}

Bytes SwfBuilder::finish(Compression compression, int level) const {
  Bytes rest = headerFields();
  rest.reserve(totalLength());
  append(rest, bytes());
  if (endAdded()) append(rest, tagHeader(TagEnd, 0));
  append(rest, trailing_);
  const bool compressed = compression == Compression::Zlib;
  Bytes out = prefix(compressed);
  append(out, compressed ? deflated(rest, level) : rest);
  return out;
}

}  // namespace mvqtest
