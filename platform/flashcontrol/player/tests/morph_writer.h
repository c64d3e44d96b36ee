// Writes DefineMorphShape (1) and DefineMorphShape2 (2) bodies for the
// player's tests: paired fill and line styles, and the start and end edges
// drawn with ShapeWriter (the end's only moves and edges).
#pragma once

#include "shape_writer.h"

namespace playertest {

struct MorphLineDraft {
  uint16_t startWidth = 20, endWidth = 20;
  Rgba startColor, endColor;
};

class MorphWriter {
 public:
  explicit MorphWriter(int version = 1) : version_(version), start_(3), end_(3) {}

  // start and end must be of one type, gradients with as many stops.
  MorphWriter& fill(const FillDraft& start, const FillDraft& end);
  MorphWriter& line(const MorphLineDraft& l);
  ShapeWriter& start() { return start_; }
  ShapeWriter& end() { return end_; }

  uint16_t tagCode() const { return version_ >= 2 ? 84 : 46; }
  Bytes body(uint16_t id, const mvqtest::Rect& startBounds, const mvqtest::Rect& endBounds) const;

 private:
  void writeFill(Bytes& out, const FillDraft& s, const FillDraft& e) const;

  int version_;
  std::vector<std::pair<FillDraft, FillDraft>> fills_;
  std::vector<MorphLineDraft> lines_;
  ShapeWriter start_, end_;
};

// A movie of the morph shape placed at depth 1 with a ratio, on a white
// stage of the given pixels.
Bytes movieWithMorph(const MorphWriter& morph, uint16_t ratio, int stageW = 100, int stageH = 100);

}  // namespace playertest
