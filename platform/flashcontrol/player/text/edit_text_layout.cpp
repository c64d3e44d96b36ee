#include "edit_text_layout.h"

#include <algorithm>
#include <cmath>
#include <deque>
#include <map>
#include <tuple>

#include "../format/twips.h"

namespace swf {
namespace {

constexpr char32_t kBullet = 0x2022;
constexpr double kBulletIndent = 360;  // twips the text of a list item moves right
constexpr double kBulletOffset = 100;

// Where a format's glyphs come from: an embedded font or a device face.
class Face {
 public:
  Face(const Font* embedded, DeviceFace device, GlyphOutlineSource* source)
      : font_(embedded), device_(device), source_(source) {
    em_ = font_ ? font_->emSize : kDeviceEm;
    if (font_ && font_->hasLayout) {
      ascent_ = font_->ascent;
      descent_ = font_->descent;
    } else if (DeviceMetrics m; !font_ && source_ && source_->metrics(device_, m)) {
      ascent_ = m.ascent;
      descent_ = m.descent;
    } else {
      ascent_ = em_ * 0.9;
      descent_ = em_ * 0.22;
    }
  }

  double em() const { return em_; }
  double ascent() const { return ascent_; }
  double descent() const { return descent_; }

  // The outline (possibly none) and advance of c, in em units.
  const Shape* glyph(char32_t c, double& advance) const {
    if (!font_) {
      DeviceGlyph g = source_ ? source_->glyph(device_, c) : DeviceGlyph{};
      advance = g.advance;
      return g.shape;
    }
    int i = font_->glyphFor(uint32_t(c));
    if (i < 0) {
      advance = 0;
      return nullptr;
    }
    const Shape& s = font_->glyphs[size_t(i)];
    advance = size_t(i) < font_->advances.size() ? font_->advances[size_t(i)] : widthOf(s);
    return s.edges.empty() ? nullptr : &s;
  }

 private:
  // Fonts without layout figures: the outline's right edge, a quarter em for blanks.
  double widthOf(const Shape& s) const {
    if (s.edges.empty()) return em_ / 4;
    int32_t right = 0;
    for (const ShapeEdge& e : s.edges) right = std::max({right, e.from.x, e.to.x, e.control.x});
    return right + em_ / 20;
  }

  const Font* font_;
  DeviceFace device_;
  GlyphOutlineSource* source_;
  double em_ = 1024;
  double ascent_ = 0;
  double descent_ = 0;
};

struct Char {
  char32_t c;
  const TextFormat* format;
  const Shape* shape;
  double scale;    // em units to twips
  double advance;  // twips
  double ascent;
  double descent;
};

struct Line {
  size_t begin = 0, end = 0;
  const TextFormat* paragraph = nullptr;
  bool first = false;  // the paragraph's first line
  double width = 0;
  double ascent = 0, descent = 0;
  double baseline = 0;
};

class FieldLayout {
 public:
  FieldLayout(const EditText& field, const FontCatalog& fonts, GlyphOutlineSource* device)
      : field_(field), fonts_(fonts), device_(device), base_(baseFormat(field)) {}

  TextLayout run(const FormattedText& text, int scroll) {
    resolve(text);
    breakLines();
    placeLines();
    return emit(scroll);
  }

 private:
  double boxWidth() const { return double(field_.bounds.width()) - 2 * kTextGutter; }

  // Formats that name the same face share it; each name is looked up once.
  const Face& faceFor(const TextFormat& f) {
    auto key = std::make_tuple(f.face, f.bold, f.italic);
    auto known = byFormat_.find(key);
    if (known != byFormat_.end()) return *known->second;
    const Face& face = resolveFace(f);
    byFormat_.emplace(std::move(key), &face);
    return face;
  }

  const Face& resolveFace(const TextFormat& f) {
    const Font* own = field_.hasFont ? fonts_.byId(field_.fontId) : nullptr;
    std::string name = !f.face.empty() ? f.face : own ? own->name : std::string();
    bool bold = f.bold || (own && f.face.empty() && own->bold);
    bool italic = f.italic || (own && f.face.empty() && own->italic);
    const Font* embedded = nullptr;
    if (field_.useOutlines) {
      embedded = fonts_.byName(name, bold, italic);
      if (!embedded && own && own->hasOutlines) embedded = own;
    }
    DeviceFace device{deviceFamilyFor(name), bold, italic};
    for (auto& entry : faces_) {
      if (entry.first.font == embedded && entry.first.device.family == device.family &&
          entry.first.device.bold == bold && entry.first.device.italic == italic)
        return entry.second;
    }
    faces_.emplace_back(FaceKey{embedded, device}, Face(embedded, device, device_));
    return faces_.back().second;
  }

  void resolve(const FormattedText& text) {
    for (const TextSpan& span : text) {
      const Face& face = faceFor(span.format);
      double scale = span.format.size / face.em();
      for (char32_t c : span.text) {
        if (c == '\r') c = '\n';
        if (field_.password && c != '\n') c = '*';
        double advance = 0;
        const Shape* shape = c == '\n' ? nullptr : face.glyph(c, advance);
        double spaced = c == '\n' ? 0 : advance * scale + span.format.letterSpacing * 20;
        chars_.push_back(Char{c, &span.format, shape, scale, spaced, face.ascent() * scale, face.descent() * scale});
      }
    }
  }

  double available(const TextFormat& p, bool first) const {
    double w = boxWidth() - p.leftMargin - p.rightMargin - p.blockIndent - (first ? p.indent : 0);
    return p.bullet ? w - kBulletIndent : w;
  }

  // A newline ending the text opens no further line; empty text takes one.
  void breakLines() {
    const size_t n = chars_.size();
    for (size_t pos = 0;;) {
      size_t end = pos;
      while (end < n && chars_[end].c != '\n') ++end;
      if (pos == n && !lines_.empty()) break;
      breakParagraph(pos, end, pos < n ? chars_[pos].format : n ? chars_[n - 1].format : &base_);
      if (end >= n) break;
      pos = end + 1;
    }
  }

  // Lines of chars [begin, end); an empty paragraph still takes a line.
  void breakParagraph(size_t begin, size_t end, const TextFormat* p) {
    bool first = true;
    size_t pos = begin;
    do {
      const double avail = available(*p, first);
      double x = 0;
      size_t afterSpace = 0, i = pos;
      for (; i < end; ++i) {
        const Char& ch = chars_[i];
        if (field_.wordWrap && ch.c != ' ' && i > pos && x + ch.advance > avail) break;
        x += ch.advance;
        if (ch.c == ' ') afterSpace = i + 1;
      }
      size_t stop = i < end && afterSpace > pos ? afterSpace : i;
      addLine(pos, stop, p, first);
      first = false;
      pos = stop;
    } while (pos < end);
  }

  void addLine(size_t begin, size_t end, const TextFormat* p, bool first) {
    Line line;
    line.begin = begin;
    line.end = end;
    line.paragraph = p;
    line.first = first;
    size_t inked = end;
    while (inked > begin && chars_[inked - 1].c == ' ') --inked;
    for (size_t i = begin; i < end; ++i) {
      if (i < inked) line.width += chars_[i].advance;
      line.ascent = std::max(line.ascent, chars_[i].ascent);
      line.descent = std::max(line.descent, chars_[i].descent);
    }
    if (begin == end) {
      const Face& face = faceFor(*p);
      line.ascent = face.ascent() * p->size / face.em();
      line.descent = face.descent() * p->size / face.em();
    }
    lines_.push_back(line);
  }

  void placeLines() {
    double y = field_.bounds.yMin + kTextGutter;
    double widest = 0;
    for (size_t i = 0; i < lines_.size(); ++i) {
      Line& l = lines_[i];
      l.baseline = y + l.ascent;
      y = l.baseline + l.descent + l.paragraph->leading;
      const TextFormat& p = *l.paragraph;
      widest = std::max(widest, l.width + p.leftMargin + p.rightMargin + p.blockIndent + (l.first ? p.indent : 0));
    }
    box_ = field_.bounds;
    double textHeight = lines_.empty() ? 0 : y - lines_.back().paragraph->leading - (field_.bounds.yMin + kTextGutter);
    textWidth_ = widest;
    textHeight_ = textHeight;
    if (!field_.autoSize) return;
    box_.yMax = box_.yMin + int32_t(std::lround(textHeight + 2 * kTextGutter));
    if (field_.wordWrap) return;
    int32_t width = int32_t(std::lround(widest + 2 * kTextGutter));
    if (field_.align == TextAlign::Right) {
      box_.xMin = box_.xMax - width;
    } else if (field_.align == TextAlign::Center) {
      box_.xMin = int32_t(std::lround((double(field_.bounds.xMin) + field_.bounds.xMax - width) / 2));
    }
    box_.xMax = box_.xMin + width;
  }

  double lineStart(const Line& l) const {
    const TextFormat& p = *l.paragraph;
    double left = box_.xMin + kTextGutter + p.leftMargin + p.blockIndent + (l.first ? p.indent : 0) +
                  (p.bullet ? kBulletIndent : 0);
    double slack = double(box_.width()) - 2 * kTextGutter - p.leftMargin - p.rightMargin - p.blockIndent -
                   (l.first ? p.indent : 0) - (p.bullet ? kBulletIndent : 0) - l.width;
    if (p.align == TextAlign::Right) return left + slack;
    if (p.align == TextAlign::Center) return left + slack / 2;
    return left;
  }

  TextLayout emit(int scroll) {
    TextLayout out;
    for (const Line& l : lines_) out.lines.push_back(TextLine{l.baseline - l.ascent, l.baseline + l.descent});
    out.clipped = true;
    out.clip = box_;
    if (field_.border) {
      out.clip.xMax += kTwipsPerPixel;
      out.clip.yMax += kTwipsPerPixel;
    }
    out.bounds = out.clip;
    out.textWidth = textWidth_;
    out.box = box_;
    out.textHeight = textHeight_;
    if (field_.background) {
      out.glyphs.push_back(placedRect(box_.xMin, box_.yMin, box_.xMax, box_.yMax, field_.backgroundColor));
    }
    out.scroll = std::clamp(scroll, 1, maxScroll(out));
    const double shift = out.lines.empty() ? 0 : out.lines[out.scroll - 1].top - out.lines.front().top;
    for (Line l : lines_) {
      l.baseline -= shift;
      emitLine(l, out);
    }
    if (field_.border) addBorder(out);
    return out;
  }

  void emitLine(const Line& l, TextLayout& out) {
    double x = lineStart(l);
    if (l.first && l.paragraph->bullet && l.begin < l.end) addBullet(l, x, out);
    for (size_t i = l.begin; i < l.end; ++i) {
      const Char& ch = chars_[i];
      if (ch.shape) {
        Matrix m = Matrix::translate(x, l.baseline) * Matrix::scale(ch.scale, ch.scale);
        out.glyphs.push_back(PlacedGlyph{ch.shape, m, ch.format->color});
      }
      if (ch.format->underline && ch.c != '\n') {
        double thick = std::max(20.0, ch.format->size / 16.0);
        double top = l.baseline + ch.format->size / 12.0;
        out.glyphs.push_back(placedRect(x, top, x + ch.advance, top + thick, ch.format->color));
      }
      x += ch.advance;
    }
  }

  void addBullet(const Line& l, double textX, TextLayout& out) {
    const Char& ch = chars_[l.begin];
    const Face& face = faceFor(*ch.format);
    double advance = 0;
    if (const Shape* s = face.glyph(kBullet, advance)) {
      Matrix m =
          Matrix::translate(textX - kBulletIndent + kBulletOffset, l.baseline) * Matrix::scale(ch.scale, ch.scale);
      out.glyphs.push_back(PlacedGlyph{s, m, ch.format->color});
    }
  }

  // A pixel-wide line on each edge of the box, the right and bottom ones
  // just outside it, meeting at every corner but the bottom right, as the
  // real player draws them.
  void addBorder(TextLayout& out) const {
    const double x0 = box_.xMin, y0 = box_.yMin, x1 = box_.xMax, y1 = box_.yMax, w = kTwipsPerPixel;
    out.glyphs.push_back(placedRect(x0, y0, x1 + w, y0 + w, field_.borderColor));
    out.glyphs.push_back(placedRect(x0, y1, x1, y1 + w, field_.borderColor));
    out.glyphs.push_back(placedRect(x0, y0 + w, x0 + w, y1, field_.borderColor));
    out.glyphs.push_back(placedRect(x1, y0 + w, x1 + w, y1, field_.borderColor));
  }

  struct FaceKey {
    const Font* font;
    DeviceFace device;
  };

  const EditText& field_;
  const FontCatalog& fonts_;
  GlyphOutlineSource* device_;
  const TextFormat base_;
  std::deque<std::pair<FaceKey, Face>> faces_;  // stays put as faces are added
  std::map<std::tuple<std::string, bool, bool>, const Face*> byFormat_;
  std::vector<Char> chars_;
  std::vector<Line> lines_;
  Rect box_;
  double textWidth_ = 0;
  double textHeight_ = 0;
};

}  // namespace

TextFormat baseFormat(const EditText& field) {
  TextFormat f;
  f.size = field.fontHeight;
  f.color = field.color;
  f.align = field.align;
  f.leftMargin = field.leftMargin;
  f.rightMargin = field.rightMargin;
  f.indent = field.indent;
  f.leading = field.leading;
  return f;
}

TextLayout layoutEditText(const EditText& field, const FormattedText& text, const FontCatalog& fonts,
                          GlyphOutlineSource* device, int scroll) {
  return FieldLayout(field, fonts, device).run(text, scroll);
}

namespace {

double visibleHeight(const TextLayout& layout) { return double(layout.box.height()) - 2 * kTextGutter; }

}  // namespace

int maxScroll(const TextLayout& layout) {
  const std::vector<TextLine>& lines = layout.lines;
  if (lines.empty()) return 1;
  size_t first = lines.size() - 1;
  while (first > 0 && lines.back().bottom - lines[first - 1].top <= visibleHeight(layout)) --first;
  return int(first) + 1;
}

int bottomScroll(const TextLayout& layout) {
  const std::vector<TextLine>& lines = layout.lines;
  if (lines.empty()) return 1;
  const size_t top = size_t(layout.scroll - 1);
  size_t last = top;
  while (last + 1 < lines.size() && lines[last + 1].bottom - lines[top].top <= visibleHeight(layout)) ++last;
  return int(last) + 1;
}

}  // namespace swf
