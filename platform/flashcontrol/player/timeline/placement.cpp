#include "placement.h"

#include "movie.h"

namespace swf {
namespace {

void applyFields(const PlaceCommand& c, Placement& p) {
  if (c.hasMatrix) p.matrix = c.matrix;
  if (c.hasColorTransform) p.colorTransform = c.colorTransform;
  if (c.hasRatio) p.ratio = c.ratio;
  if (c.hasName) p.name = c.name;
  if (c.hasClipDepth) p.clipDepth = c.clipDepth;
  if (c.hasVisible) p.visible = c.visible;
  if (c.hasBlendMode) p.blendMode = c.blendMode;
  if (c.clipActions) p.clipActions = c.clipActions;
  if (c.hasFilters) p.filters = c.filters && !c.filters->empty() ? c.filters : nullptr;
  if (c.hasCacheAsBitmap) p.cacheAsBitmap = c.cacheAsBitmap;
  if (c.hasOpaqueBackground) {
    p.hasOpaqueBackground = true;
    p.opaqueBackground = c.opaqueBackground;
  }
}

// Only a shape (or another inert graphic) can take on a new character in
// place; a movie clip keeps being itself.
bool canSwapCharacter(const Movie& movie, uint16_t from, uint16_t to) {
  const Character* a = movie.character(from);
  const Character* b = movie.character(to);
  if (!a || !b) return false;
  return a->index() == b->index() && !std::holds_alternative<SpriteCharacter>(*a);
}

void place(const Movie& movie, const PlaceCommand& c, int frameIndex, PlacementMap& state) {
  auto it = state.find(c.depth);
  if (c.move) {
    // Moving nothing places nothing, even with a character given.
    if (it == state.end()) return;
    if (c.hasCharacter && canSwapCharacter(movie, it->second.characterId, c.characterId)) {
      it->second.characterId = c.characterId;
    }
    applyFields(c, it->second);
    return;
  }
  if (!c.hasCharacter || it != state.end()) {
    // A new placement onto a taken depth leaves the object there alone.
    return;
  }
  Placement p;
  p.characterId = c.characterId;
  p.placeFrame = frameIndex;
  applyFields(c, p);
  state[c.depth] = std::move(p);
}

}  // namespace

void applyFrameCommands(const Movie& movie, const Frame& frame, int frameIndex, PlacementMap& state,
                        std::vector<uint16_t>* touched) {
  for (const FrameCommand& c : frame.commands) {
    if (c.kind == FrameCommand::Kind::Remove) {
      state.erase(c.depth);
    } else {
      place(movie, c.place, frameIndex, state);
    }
    if (touched) touched->push_back(c.depth);
  }
}

PlacementMap placementsAt(const Movie& movie, const Timeline& timeline, int frameIndex) {
  PlacementMap state;
  for (int f = 0; f <= frameIndex; ++f) {
    const Frame* frame = timeline.frame(f);
    if (!frame) break;
    applyFrameCommands(movie, *frame, f, state, nullptr);
  }
  return state;
}

}  // namespace swf
