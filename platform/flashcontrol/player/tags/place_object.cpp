#include "place_object.h"

#include "../read/swf_reader.h"
#include "filter_parser.h"

namespace swf {
namespace {

void readPlaceObject1(SwfReader& r, PlaceCommand& p) {
  p.hasCharacter = true;
  p.characterId = r.u16();
  p.depth = r.u16();
  p.hasMatrix = true;
  p.matrix = r.matrix();
  if (!r.atEnd()) {
    p.hasColorTransform = true;
    p.colorTransform = r.colorTransform(false);
  }
}

// PlaceObject2 and 3 share everything up to the clip depth.
void readPlaceFields(SwfReader& r, uint8_t flags, PlaceCommand& p) {
  if (flags & 0x02) {
    p.hasCharacter = true;
    p.characterId = r.u16();
  }
  if (flags & 0x04) {
    p.hasMatrix = true;
    p.matrix = r.matrix();
  }
  if (flags & 0x08) {
    p.hasColorTransform = true;
    p.colorTransform = r.colorTransform(true);
  }
  if (flags & 0x10) {
    p.hasRatio = true;
    p.ratio = r.u16();
  }
  if (flags & 0x20) {
    p.hasName = true;
    p.name = r.string();
  }
  if (flags & 0x40) {
    p.hasClipDepth = true;
    p.clipDepth = r.u16();
  }
}

void readPlaceObject3(SwfReader& r, PlaceCommand& p) {
  uint8_t flags = r.u8();
  uint8_t flags2 = r.u8();
  p.move = flags & 0x01;
  p.depth = r.u16();
  bool hasClassName = (flags2 & 0x08) || ((flags2 & 0x10) && (flags & 0x02));
  if (hasClassName) r.string();
  readPlaceFields(r, flags, p);
  if (flags2 & 0x01) {
    auto filters = std::make_shared<FilterList>();
    bool whole = parseFilterList(r, *filters);
    p.hasFilters = true;
    p.filters = std::move(filters);
    if (!whole) return;
  }
  if (flags2 & 0x02) {
    p.hasBlendMode = true;
    p.blendMode = r.u8();
  }
  if (flags2 & 0x04) {
    p.hasCacheAsBitmap = true;
    p.cacheAsBitmap = r.u8() != 0;
  }
  if (flags2 & 0x20) {
    uint8_t visible = r.u8();
    if (!r.overrun()) {
      p.hasVisible = true;
      p.visible = visible != 0;
    }
  }
  if (flags2 & 0x40) {
    Rgba background = r.rgba();
    if (!r.overrun()) {
      p.hasOpaqueBackground = true;
      p.opaqueBackground = background;
    }
  }
}

}  // namespace

void readPlaceClipActions(SwfReader& r, int swfVersion, PlaceCommand& p) {
  auto records = std::make_shared<std::vector<ClipActionRecord>>();
  readClipActions(r, swfVersion, *records);
  if (!records->empty()) p.clipActions = std::move(records);
}

bool parsePlaceObject(TagCode code, const uint8_t* body, size_t length, PlaceCommand& out, int swfVersion) {
  SwfReader r(body, length);
  PlaceCommand p;
  if (code == TagCode::PlaceObject) {
    readPlaceObject1(r, p);
  } else if (code == TagCode::PlaceObject2) {
    uint8_t flags = r.u8();
    p.move = flags & 0x01;
    p.depth = r.u16();
    readPlaceFields(r, flags, p);
    if ((flags & 0x80) && !r.overrun()) readPlaceClipActions(r, swfVersion, p);
  } else {
    uint8_t flags = length > 0 ? body[0] : 0;
    readPlaceObject3(r, p);
    if ((flags & 0x80) && !r.overrun()) readPlaceClipActions(r, swfVersion, p);
  }
  size_t depthEnd = code == TagCode::PlaceObject2 ? 3 : 4;
  if (length < depthEnd) return false;
  out = std::move(p);
  return true;
}

bool parseRemoveObject(TagCode code, const uint8_t* body, size_t length, uint16_t& depth) {
  SwfReader r(body, length);
  if (code == TagCode::RemoveObject) r.u16();
  depth = r.u16();
  return !r.overrun();
}

}  // namespace swf
