// DefineShape, DefineShape2, DefineShape3 and DefineShape4 bodies.
#pragma once

#include <cstddef>
#include <cstdint>

#include "../read/swf_reader.h"
#include "shape.h"
#include "tag_codes.h"

namespace swf {

// Edges beyond this many are dropped: no real shape comes near it.
constexpr size_t kMaxShapeEdges = 1u << 20;

// shapeVersion is 1 to 4. False when the tag is too damaged to give a
// character id; otherwise out holds whatever could be read.
bool parseShape(const uint8_t* body, size_t length, int shapeVersion, Shape& out);

// A font glyph's SHAPE (no styles of its own): out gets one solid
// fill, whose colour the text's own replaces when it is drawn.
void parseGlyphShape(const uint8_t* body, size_t length, Shape& out);

// Coordinates stay within this range whatever the deltas add up to.
constexpr int64_t kCoordLimit = int64_t(1) << 30;
int32_t clampCoord(int64_t v);

// An edge record after its edge flag: from pen, which moves to its end.
// Shapes and morph shapes share it.
void readEdgeGeometry(SwfReader& r, Point& pen, ShapeEdge& e);

// Style arrays, shared with the shape records' StyleChange (new styles).
bool parseFillStyles(SwfReader& r, int shapeVersion, std::vector<FillStyle>& out);
bool parseLineStyles(SwfReader& r, int shapeVersion, std::vector<LineStyle>& out);

}  // namespace swf
