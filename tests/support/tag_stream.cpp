#include "tag_stream.h"

#include "swf_builder.h"

#include <algorithm>

namespace mvqtest {

namespace {

constexpr uint8_t kSoundFormatPcmLe = 3;

uint8_t rateCode(int rate) {
  if (rate <= 5512) return 0;
  if (rate <= 11025) return 1;
  if (rate <= 22050) return 2;
  return 3;
}

uint8_t soundFormatByte(uint8_t format, const PcmFormat& pcm) {
  return static_cast<uint8_t>(format << 4 | rateCode(pcm.rate) << 2 | pcm.sixteenBit << 1 | pcm.stereo);
}

Rect unionOf(const std::vector<FilledRect>& rects) {
  if (rects.empty()) return Rect{};
  Rect u = rects.front().bounds;
  for (const FilledRect& r : rects) {
    u.xmin = std::min(u.xmin, r.bounds.xmin);
    u.ymin = std::min(u.ymin, r.bounds.ymin);
    u.xmax = std::max(u.xmax, r.bounds.xmax);
    u.ymax = std::max(u.ymax, r.bounds.ymax);
  }
  u.nbits = -1;
  return u;
}

void putCount(Bytes& out, size_t count) {
  if (count < 0xFF) {
    putU8(out, static_cast<uint32_t>(count));
  } else {
    putU8(out, 0xFF);
    putU16(out, static_cast<uint32_t>(count));
  }
}

void writeStraightEdge(BitWriter& out, int32_t delta, bool vertical) {
  const int bits = std::max(BitWriter::signedBits(delta), 2);
  out.writeUnsigned(1, 1).writeUnsigned(1, 1).writeUnsigned(bits - 2, 4);
  out.writeUnsigned(0, 1).writeUnsigned(vertical, 1).writeSigned(delta, bits);
}

// Move to the top-left corner with fill style 1 = index, then clockwise around, so that
// the fill lies on the right of every edge.
void writeRectRecords(BitWriter& out, const Rect& r, uint32_t fillIndex, int fillBits) {
  const int moveBits = std::max(BitWriter::signedBits(r.xmin), BitWriter::signedBits(r.ymin));
  out.writeUnsigned(0, 1).writeUnsigned(0b00101, 5);  // StateFillStyle1, StateMoveTo
  out.writeUnsigned(moveBits, 5).writeSigned(r.xmin, moveBits).writeSigned(r.ymin, moveBits);
  out.writeUnsigned(fillIndex, fillBits);
  writeStraightEdge(out, r.xmax - r.xmin, false);
  writeStraightEdge(out, r.ymax - r.ymin, true);
  writeStraightEdge(out, r.xmin - r.xmax, false);
  writeStraightEdge(out, r.ymin - r.ymax, true);
}

}  // namespace

Bytes tagHeader(uint16_t code, uint32_t length, bool forceLong) {
  Bytes out;
  const bool isLong = forceLong || length >= 63;
  putU16(out, static_cast<uint32_t>(code) << 6 | (isLong ? 63 : length));
  if (isLong) putU32(out, length);
  return out;
}

Bytes pcmSoundData(const PcmFormat& format, const std::vector<int16_t>& samples) {
  Bytes out;
  for (int16_t s : samples) {
    if (format.sixteenBit) {
      putU16(out, static_cast<uint16_t>(s));
    } else {
      putU8(out, static_cast<uint32_t>((s >> 8) + 128));
    }
  }
  return out;
}

template <class Self>
Self& TagWriter<Self>::tag(uint16_t code, const Bytes& body, bool forceLong) {
  append(bytes_, tagHeader(code, static_cast<uint32_t>(body.size()), forceLong));
  append(bytes_, body);
  if (code == TagShowFrame) ++frames_;
  if (code == TagEnd) ended_ = true;
  return self();
}

template <class Self>
Self& TagWriter<Self>::raw(const Bytes& bytes) {
  append(bytes_, bytes);
  return self();
}

template <class Self>
Self& TagWriter<Self>::showFrame() {
  return tag(TagShowFrame);
}
template <class Self>
Self& TagWriter<Self>::end() {
  return tag(TagEnd);
}

template <class Self>
Self& TagWriter<Self>::background(uint8_t r, uint8_t g, uint8_t b, bool forceLong) {
  return tag(TagSetBackgroundColor, {r, g, b}, forceLong);
}

template <class Self>
Self& TagWriter<Self>::frameLabel(const std::string& label) {
  Bytes body;
  putString(body, label);
  return tag(TagFrameLabel, body);
}

template <class Self>
Self& TagWriter<Self>::doAction(const ActionBuilder& actions) {
  Bytes body = actions.bytes();
  putU8(body, 0);
  return tag(TagDoAction, body);
}

template <class Self>
Self& TagWriter<Self>::defineSprite(uint16_t id, const TagStream& nested, std::optional<uint16_t> frameCount,
                                    bool forceLong) {
  Bytes body;
  putU16(body, id);
  putU16(body, frameCount.value_or(static_cast<uint16_t>(nested.frames())));
  append(body, nested.bytes());
  append(body, tagHeader(TagEnd, 0));
  return tag(TagDefineSprite, body, forceLong);
}

template <class Self>
Self& TagWriter<Self>::defineShape(uint16_t id, const std::vector<FilledRect>& rects) {
  const bool withAlpha = std::any_of(rects.begin(), rects.end(), [](const FilledRect& r) { return r.color.a != 255; });
  Bytes body;
  putU16(body, id);
  append(body, rectBytes(unionOf(rects)));
  putCount(body, rects.size());
  for (const FilledRect& r : rects) {
    putU8(body, 0x00);  // solid fill
    withAlpha ? putRgba(body, r.color) : putRgb(body, r.color);
  }
  putU8(body, 0);  // no line styles
  const int fillBits = BitWriter::unsignedBits(static_cast<uint32_t>(rects.size()));
  BitWriter records;
  records.writeUnsigned(fillBits, 4).writeUnsigned(0, 4);
  for (size_t i = 0; i < rects.size(); ++i) {
    writeRectRecords(records, rects[i].bounds, static_cast<uint32_t>(i + 1), fillBits);
  }
  records.writeUnsigned(0, 6);  // EndShapeRecord
  append(body, records.bytes());
  return tag(withAlpha ? TagDefineShape3 : TagDefineShape, body);
}

template <class Self>
Self& TagWriter<Self>::defineRectShape(uint16_t id, const Rect& bounds, const Rgba& color) {
  return defineShape(id, {FilledRect{bounds, color}});
}

template <class Self>
Self& TagWriter<Self>::placeObject2(const PlaceObject2& p) {
  const uint8_t flags = static_cast<uint8_t>((p.clipDepth ? 0x40 : 0) | (p.name ? 0x20 : 0) | (p.ratio ? 0x10 : 0) |
                                             (p.colorTransform ? 0x08 : 0) | (p.matrix ? 0x04 : 0) |
                                             (p.character ? 0x02 : 0) | (p.move ? 0x01 : 0));
  Bytes body;
  putU8(body, flags);
  putU16(body, p.depth);
  if (p.character) putU16(body, *p.character);
  if (p.matrix) {
    BitWriter bits;
    writeMatrix(bits, *p.matrix);
    append(body, bits.bytes());
  }
  if (p.colorTransform) {
    BitWriter bits;
    writeColorTransform(bits, *p.colorTransform);
    append(body, bits.bytes());
  }
  if (p.ratio) putU16(body, *p.ratio);
  if (p.name) putString(body, *p.name);
  if (p.clipDepth) putU16(body, *p.clipDepth);
  return tag(TagPlaceObject2, body);
}

template <class Self>
Self& TagWriter<Self>::placeObject2(uint16_t character, uint16_t depth, const Matrix& matrix) {
  PlaceObject2 p;
  p.depth = depth;
  p.character = character;
  p.matrix = matrix;
  return placeObject2(p);
}

template <class Self>
Self& TagWriter<Self>::moveObject2(uint16_t depth, const Matrix& matrix) {
  PlaceObject2 p;
  p.depth = depth;
  p.move = true;
  p.matrix = matrix;
  return placeObject2(p);
}

template <class Self>
Self& TagWriter<Self>::removeObject2(uint16_t depth) {
  Bytes body;
  putU16(body, depth);
  return tag(TagRemoveObject2, body);
}

template <class Self>
Self& TagWriter<Self>::defineSound(uint16_t id, const PcmFormat& format, const std::vector<int16_t>& samples,
                                   bool forceLong) {
  Bytes body;
  putU16(body, id);
  putU8(body, soundFormatByte(kSoundFormatPcmLe, format));
  putU32(body, static_cast<uint32_t>(samples.size() / (format.stereo ? 2 : 1)));
  append(body, pcmSoundData(format, samples));
  return tag(TagDefineSound, body, forceLong);
}

template <class Self>
Self& TagWriter<Self>::startSound(uint16_t id, const SoundInfo& info) {
  Bytes body;
  putU16(body, id);
  putU8(body, (info.syncStop ? 0x20 : 0) | (info.syncNoMultiple ? 0x10 : 0) | (info.loopCount ? 0x04 : 0) |
                  (info.outPoint ? 0x02 : 0) | (info.inPoint ? 0x01 : 0));
  if (info.inPoint) putU32(body, *info.inPoint);
  if (info.outPoint) putU32(body, *info.outPoint);
  if (info.loopCount) putU16(body, *info.loopCount);
  return tag(TagStartSound, body);
}

template <class Self>
Self& TagWriter<Self>::soundStreamHead(const PcmFormat& format, uint16_t samplesPerFrame, bool head2) {
  Bytes body;
  putU8(body, soundFormatByte(0, format));  // playback: reserved bits, then rate, size, type
  putU8(body, soundFormatByte(kSoundFormatPcmLe, format));
  putU16(body, samplesPerFrame);
  return tag(head2 ? TagSoundStreamHead2 : TagSoundStreamHead, body);
}

template <class Self>
Self& TagWriter<Self>::soundStreamBlock(const PcmFormat& format, const std::vector<int16_t>& samples) {
  return tag(TagSoundStreamBlock, pcmSoundData(format, samples));
}

template class TagWriter<TagStream>;
template class TagWriter<SwfBuilder>;

}  // namespace mvqtest
