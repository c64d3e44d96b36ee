#include "truetype_glyph_source.h"

#include <cmath>
#include <fstream>
#include <iterator>
#include <unordered_map>
#include <vector>

#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wunused-function"
#pragma GCC diagnostic ignored "-Wsign-compare"
#define STBTT_STATIC
#define STB_TRUETYPE_IMPLEMENTATION
#include <stb_truetype.h>
#pragma GCC diagnostic pop

namespace swf {
namespace {

constexpr const char* kFamilyFiles[] = {"LiberationSans", "LiberationSerif", "LiberationMono"};
constexpr const char* kStyleSuffixes[] = {"-Regular", "-Bold", "-Italic", "-BoldItalic"};

// TrueType files larger than this are not fonts a host would install.
constexpr std::streamoff kMaxFontFileBytes = 64 << 20;

int styleIndex(const DeviceFace& f) { return (f.bold ? 1 : 0) + (f.italic ? 2 : 0); }

bool readFile(const std::string& path, std::vector<uint8_t>& out) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return false;
  in.seekg(0, std::ios::end);
  std::streamoff size = in.tellg();
  if (size <= 0 || size > kMaxFontFileBytes) return false;
  in.seekg(0);
  out.resize(size_t(size));
  return bool(in.read(reinterpret_cast<char*>(out.data()), size));
}

Point scaled(double scale, double x, double y) {
  return Point{int32_t(std::lround(x * scale)), int32_t(std::lround(-y * scale))};
}

}  // namespace

class TrueTypeGlyphSource::Face {
 public:
  bool open(const std::string& path) {
    if (!readFile(path, bytes_)) return false;
    int offset = stbtt_GetFontOffsetForIndex(bytes_.data(), 0);
    if (offset < 0 || !stbtt_InitFont(&info_, bytes_.data(), offset)) return false;
    scale_ = stbtt_ScaleForMappingEmToPixels(&info_, float(kDeviceEm));
    int ascent = 0, descent = 0, gap = 0;
    stbtt_GetFontVMetrics(&info_, &ascent, &descent, &gap);
    metrics_ = DeviceMetrics{ascent * scale_, -descent * scale_, gap * scale_};
    return true;
  }

  const DeviceMetrics& metrics() const { return metrics_; }

  DeviceGlyph glyph(char32_t c) {
    auto it = glyphs_.find(c);
    if (it == glyphs_.end()) it = glyphs_.emplace(c, load(c)).first;
    return DeviceGlyph{it->second.shape.edges.empty() ? nullptr : &it->second.shape, it->second.advance};
  }

 private:
  struct Cached {
    Shape shape;
    double advance = 0;
  };

  Cached load(char32_t c) {
    Cached g;
    int index = stbtt_FindGlyphIndex(&info_, int(c));
    int advance = 0, bearing = 0;
    stbtt_GetGlyphHMetrics(&info_, index, &advance, &bearing);
    g.advance = advance * scale_;
    if (index == 0) return g;  // a missing character leaves its room empty
    g.shape.fills.resize(1);
    g.shape.nonZeroWinding = true;
    g.shape.groups.push_back(StyleGroup{0, 1, 0, 0});
    stbtt_vertex* v = nullptr;
    int n = stbtt_GetGlyphShape(&info_, index, &v);
    Vec2 pen;
    for (int i = 0; i < n; ++i) addVertex(v[i], pen, g.shape);
    stbtt_FreeShape(&info_, v);
    return g;
  }

  // pen is in the font's own units, y up.
  void addVertex(const stbtt_vertex& v, Vec2& pen, Shape& shape) const {
    ShapeEdge e;
    e.from = scaled(scale_, pen.x, pen.y);
    e.to = scaled(scale_, v.x, v.y);
    e.control = e.to;
    e.fill1 = 0;
    if (v.type == STBTT_vcurve) {
      e.control = scaled(scale_, v.cx, v.cy);
      e.curved = true;
    } else if (v.type == STBTT_vcubic) {
      // One quadratic that meets the cubic's middle: close enough at text sizes.
      e.control = scaled(scale_, (3.0 * (v.cx + v.cx1) - pen.x - v.x) / 4, (3.0 * (v.cy + v.cy1) - pen.y - v.y) / 4);
      e.curved = true;
    }
    if (v.type != STBTT_vmove && e.from != e.to) shape.edges.push_back(e);
    pen = Vec2{double(v.x), double(v.y)};
  }

  std::vector<uint8_t> bytes_;
  stbtt_fontinfo info_{};
  float scale_ = 1;
  DeviceMetrics metrics_;
  std::unordered_map<char32_t, Cached> glyphs_;
};

TrueTypeGlyphSource::TrueTypeGlyphSource(std::string folder) : folder_(std::move(folder)) {
  if (!folder_.empty() && folder_.back() != '/' && folder_.back() != '\\') folder_ += '/';
}

TrueTypeGlyphSource::~TrueTypeGlyphSource() = default;

TrueTypeGlyphSource::Face* TrueTypeGlyphSource::face(const DeviceFace& key) {
  size_t slot = size_t(key.family) * 4 + size_t(styleIndex(key));
  if (!tried_[slot]) {
    tried_[slot] = true;
    auto f = std::make_unique<Face>();
    std::string path = folder_ + kFamilyFiles[size_t(key.family)] + kStyleSuffixes[styleIndex(key)] + ".ttf";
    if (f->open(path)) faces_[slot] = std::move(f);
  }
  if (!faces_[slot] && styleIndex(key) != 0) return face(DeviceFace{key.family, false, false});
  return faces_[slot].get();
}

bool TrueTypeGlyphSource::metrics(const DeviceFace& key, DeviceMetrics& out) {
  std::lock_guard<std::mutex> lock(mutex_);
  Face* f = face(key);
  if (f) out = f->metrics();
  return f != nullptr;
}

DeviceGlyph TrueTypeGlyphSource::glyph(const DeviceFace& key, char32_t c) {
  std::lock_guard<std::mutex> lock(mutex_);
  Face* f = face(key);
  return f ? f->glyph(c) : DeviceGlyph{};
}

}  // namespace swf
