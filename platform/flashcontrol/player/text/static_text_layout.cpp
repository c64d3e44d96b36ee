#include "static_text_layout.h"

namespace swf {
namespace {

// A glyph's outline and the em square it is drawn in, or nothing.
struct Outline {
  const Shape* shape = nullptr;
  double em = 1024;
};

Outline outlineOf(const Font& font, uint32_t index, GlyphOutlineSource* device) {
  if (font.hasOutlines) {
    if (index >= font.glyphs.size() || font.glyphs[index].edges.empty()) return Outline{};
    return Outline{&font.glyphs[index], font.emSize};
  }
  if (!device || index >= font.codes.size()) return Outline{};
  DeviceFace face{deviceFamilyFor(font.name), font.bold, font.italic};
  return Outline{device->glyph(face, font.codes[index]).shape, kDeviceEm};
}

}  // namespace

TextLayout layoutStaticText(const StaticText& text, const FontCatalog& fonts, GlyphOutlineSource* device) {
  TextLayout out;
  out.bounds = text.bounds;
  for (const TextRun& run : text.runs) {
    const Font* font = fonts.byId(run.fontId);
    if (!font) continue;
    double x = run.x;
    for (const GlyphEntry& g : run.glyphs) {
      Outline o = outlineOf(*font, g.index, device);
      if (o.shape) {
        double s = run.height / o.em;
        Matrix place = Matrix::translate(x, run.y) * Matrix::scale(s, s);
        out.glyphs.push_back(PlacedGlyph{o.shape, text.matrix * place, run.color});
      }
      x += g.advance;
    }
  }
  return out;
}

}  // namespace swf
