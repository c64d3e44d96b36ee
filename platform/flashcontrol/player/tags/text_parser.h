// DefineText and DefineText2 bodies.
#pragma once

#include <cstddef>
#include <cstdint>

#include "static_text.h"

namespace swf {

// Glyphs beyond this many in one text are dropped.
constexpr size_t kMaxTextGlyphs = 1u << 20;

// textVersion is 1 (RGB colours) or 2 (RGBA). False when the tag is too
// short to name its character; otherwise out holds the records read.
bool parseStaticText(const uint8_t* body, size_t length, int textVersion, StaticText& out);

}  // namespace swf
