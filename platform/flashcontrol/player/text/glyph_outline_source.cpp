#include "glyph_outline_source.h"

#include <cctype>
#include <cstdlib>
#include <mutex>

#include "truetype_glyph_source.h"

namespace swf {
namespace {

#ifdef _WIN32
// The stand-in control runs under Wine, where Z: is the host's root.
constexpr const char* kDefaultFontFolder = "Z:\\usr\\share\\fonts\\truetype\\liberation\\";
#else
constexpr const char* kDefaultFontFolder = "/usr/share/fonts/truetype/liberation/";
#endif

std::mutex& sourceMutex() {
  static std::mutex m;
  return m;
}

std::shared_ptr<GlyphOutlineSource>& currentSource() {
  static std::shared_ptr<GlyphOutlineSource> source;
  return source;
}

std::string folded(const std::string& s) {
  std::string out;
  for (char c : s) {
    if (c != ' ') out.push_back(char(std::tolower(uint8_t(c))));
  }
  return out;
}

}  // namespace

DeviceFamily deviceFamilyFor(const std::string& fontName) {
  static const struct {
    const char* name;
    DeviceFamily family;
  } kNames[] = {{"_sans", DeviceFamily::Sans},
                {"arial", DeviceFamily::Sans},
                {"helvetica", DeviceFamily::Sans},
                {"verdana", DeviceFamily::Sans},
                {"tahoma", DeviceFamily::Sans},
                {"trebuchetms", DeviceFamily::Sans},
                {"microsoftsansserif", DeviceFamily::Sans},
                {"mssansserif", DeviceFamily::Sans},
                {"liberationsans", DeviceFamily::Sans},
                {"sans", DeviceFamily::Sans},
                {"_serif", DeviceFamily::Serif},
                {"timesnewroman", DeviceFamily::Serif},
                {"times", DeviceFamily::Serif},
                {"georgia", DeviceFamily::Serif},
                {"_typewriter", DeviceFamily::Mono},
                {"couriernew", DeviceFamily::Mono},
                {"courier", DeviceFamily::Mono},
                {"lucidaconsole", DeviceFamily::Mono},
                {"liberationmono", DeviceFamily::Mono},
                {"monospace", DeviceFamily::Mono}};
  const std::string key = folded(fontName);
  for (const auto& n : kNames) {
    if (key == n.name) return n.family;
  }
  return DeviceFamily::Serif;
}

std::shared_ptr<GlyphOutlineSource> deviceGlyphSource() {
  std::lock_guard<std::mutex> lock(sourceMutex());
  auto& source = currentSource();
  if (!source) {
    const char* folder = std::getenv("MVQ_FONT_FOLDER");
    source = std::make_shared<TrueTypeGlyphSource>(folder && *folder ? folder : kDefaultFontFolder);
  }
  return source;
}

void setDeviceGlyphSource(std::shared_ptr<GlyphOutlineSource> source) {
  std::lock_guard<std::mutex> lock(sourceMutex());
  currentSource() = std::move(source);
}

void setDeviceFontFolder(const std::string& folder) {
  setDeviceGlyphSource(std::make_shared<TrueTypeGlyphSource>(folder));
}

}  // namespace swf
