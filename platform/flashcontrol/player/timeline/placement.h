// What a timeline's tags say stands at each depth after a given frame. Both
// sequential play and gotos derive the display list from this, so a frame
// reached by a jump looks exactly like the same frame reached by playing.
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "../format/color_transform.h"
#include "../format/matrix.h"
#include "../tags/filter.h"
#include "timeline.h"

namespace swf {

class Movie;

struct Placement {
  uint16_t characterId = 0;
  // The frame whose tag created the object: together with the character it
  // tells whether an object standing after a goto is still the same one.
  int placeFrame = 0;
  Matrix matrix;
  ColorTransform colorTransform;
  uint16_t ratio = 0;
  std::string name;
  uint16_t clipDepth = 0;
  bool visible = true;
  uint8_t blendMode = 0;
  std::shared_ptr<const std::vector<ClipActionRecord>> clipActions;
  std::shared_ptr<const FilterList> filters;  // nullptr: none
  bool cacheAsBitmap = false;
  bool hasOpaqueBackground = false;
  Rgba opaqueBackground;

  bool sameObjectAs(const Placement& o) const { return characterId == o.characterId && placeFrame == o.placeFrame; }
};

using PlacementMap = std::map<uint16_t, Placement>;

// Applies one frame's commands; touched (when given) collects the depths changed.
void applyFrameCommands(const Movie& movie, const Frame& frame, int frameIndex, PlacementMap& state,
                        std::vector<uint16_t>* touched);

// The state after frames 0..frameIndex of timeline.
PlacementMap placementsAt(const Movie& movie, const Timeline& timeline, int frameIndex);

}  // namespace swf
