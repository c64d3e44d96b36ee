// Where device fonts come from: outlines and metrics of the families a movie
// may name without embedding them. One small interface keeps the player
// portable; the host decides which fonts stand behind it.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "../tags/shape.h"

namespace swf {

enum class DeviceFamily : uint8_t { Sans, Serif, Mono };

struct DeviceFace {
  DeviceFamily family = DeviceFamily::Serif;
  bool bold = false;
  bool italic = false;
};

// Device outlines and metrics are in units of this em square (y down, the
// baseline at 0), the same scale as DefineFont3 glyphs.
constexpr double kDeviceEm = 20480;

struct DeviceGlyph {
  const Shape* shape = nullptr;  // nullptr: nothing to draw (a space, a missing glyph)
  double advance = 0;
};

struct DeviceMetrics {
  double ascent = 0;
  double descent = 0;
  double leading = 0;
};

class GlyphOutlineSource {
 public:
  virtual ~GlyphOutlineSource() = default;
  // False when no font stands behind the face; glyphs then draw nothing.
  virtual bool metrics(const DeviceFace& face, DeviceMetrics& out) = 0;
  // Shapes stay valid as long as the source.
  virtual DeviceGlyph glyph(const DeviceFace& face, char32_t c) = 0;
};

// The family the real player's device fonts give a font name (_sans,
// _serif, _typewriter, and the common named fonts); unknown names get serif.
DeviceFamily deviceFamilyFor(const std::string& fontName);

// The source every movie's text fields use; by default the TrueType files of
// the font folder the host sets (or the build's default).
std::shared_ptr<GlyphOutlineSource> deviceGlyphSource();
void setDeviceGlyphSource(std::shared_ptr<GlyphOutlineSource> source);
void setDeviceFontFolder(const std::string& folder);

}  // namespace swf
