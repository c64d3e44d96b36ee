// PlaceObject 1-3 and RemoveObject 1-2: the display list commands of a frame.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "../format/color_transform.h"
#include "../format/matrix.h"
#include "clip_actions.h"
#include "filter.h"
#include "tag_codes.h"

namespace swf {

struct PlaceCommand {
  uint16_t depth = 0;
  bool move = false;          // modifies the object already at depth
  bool hasCharacter = false;  // places (or, with move, swaps in) characterId
  uint16_t characterId = 0;
  bool hasMatrix = false;
  Matrix matrix;
  bool hasColorTransform = false;
  ColorTransform colorTransform;
  bool hasRatio = false;
  uint16_t ratio = 0;
  bool hasName = false;
  std::string name;
  bool hasClipDepth = false;
  uint16_t clipDepth = 0;
  bool hasVisible = false;
  bool visible = true;
  bool hasBlendMode = false;
  uint8_t blendMode = 0;
  std::shared_ptr<const std::vector<ClipActionRecord>> clipActions;  // nullptr: none
  bool hasFilters = false;
  std::shared_ptr<const FilterList> filters;
  bool hasCacheAsBitmap = false;
  bool cacheAsBitmap = false;
  bool hasOpaqueBackground = false;
  Rgba opaqueBackground;
};

// code is PlaceObject, PlaceObject2 or PlaceObject3. False when too short
// to name a depth.
bool parsePlaceObject(TagCode code, const uint8_t* body, size_t length, PlaceCommand& out, int swfVersion = 6);

// code is RemoveObject or RemoveObject2.
bool parseRemoveObject(TagCode code, const uint8_t* body, size_t length, uint16_t& depth);

}  // namespace swf
