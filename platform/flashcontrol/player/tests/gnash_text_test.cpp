// The gnash sample movies with text show their words: the picture is checked
// against what the movie's own records say (each glyph's outline box moved
// by its record, its text's matrix and its placement, in the record's
// colour; each text field's box in its colour), never against a picture of
// our own. Skipped when the corpus is not beside the project.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <map>
#include <string>

#include "player_fixture.h"
#include "read/movie_file.h"
#include "tags/edit_text_parser.h"
#include "tags/font_parser.h"
#include "tags/place_object.h"
#include "tags/tag_reader.h"
#include "tags/text_parser.h"

namespace {

using playertest::Picture;

struct PixelBox {
  int x0, y0, x1, y1;
  bool contains(int x, int y) const { return x >= x0 && x < x1 && y >= y0 && y < y1; }
};

struct Expected {
  PixelBox box;
  swf::Rgba color;
};

// The movie's top-level fonts, texts and first-frame placements, read with
// the tag readers alone.
struct MovieText {
  std::map<uint16_t, swf::Font> fonts;
  std::map<uint16_t, swf::StaticText> texts;
  std::map<uint16_t, swf::EditText> fields;
  std::vector<swf::PlaceCommand> places;
  std::map<uint16_t, std::vector<swf::PlaceCommand>> sprites;  // their first frames' placements
};

// Placements up to the first frame's end.
std::vector<swf::PlaceCommand> firstFramePlaces(const uint8_t* data, size_t size) {
  std::vector<swf::PlaceCommand> out;
  swf::TagReader tags(data, size);
  swf::TagRecord t;
  swf::PlaceCommand place;
  while (tags.next(t) && t.code != swf::TagCode::ShowFrame && t.code != swf::TagCode::End) {
    if (t.code == swf::TagCode::PlaceObject2 && swf::parsePlaceObject(t.code, t.body, t.length, place)) {
      out.push_back(place);
    }
  }
  return out;
}

bool readMovie(const std::string& path, std::vector<uint8_t>& bytes, MovieText& out) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return false;
  bytes.assign(std::istreambuf_iterator<char>(in), {});
  swf::MovieFile file;
  if (!swf::readMovieFile(bytes, file)) return false;
  swf::TagReader tags(file.body.data() + file.tagsOffset, file.body.size() - file.tagsOffset);
  swf::TagRecord t;
  while (tags.next(t) && t.code != swf::TagCode::ShowFrame && t.code != swf::TagCode::End) {
    swf::Font font;
    swf::StaticText text;
    swf::EditText field;
    swf::PlaceCommand place;
    if (t.code == swf::TagCode::DefineFont2 && swf::parseDefineFont2(t.body, t.length, 2, font)) {
      out.fonts[font.id] = font;
    } else if (t.code == swf::TagCode::DefineFont3 && swf::parseDefineFont2(t.body, t.length, 3, font)) {
      out.fonts[font.id] = font;
    } else if ((t.code == swf::TagCode::DefineText || t.code == swf::TagCode::DefineText2) &&
               swf::parseStaticText(t.body, t.length, t.code == swf::TagCode::DefineText2 ? 2 : 1, text)) {
      out.texts[text.id] = text;
    } else if (t.code == swf::TagCode::DefineEditText && swf::parseEditText(t.body, t.length, field)) {
      out.fields[field.id] = field;
    } else if (t.code == swf::TagCode::PlaceObject2 && swf::parsePlaceObject(t.code, t.body, t.length, place)) {
      out.places.push_back(place);
    } else if (t.code == swf::TagCode::DefineSprite && t.length > 4) {
      out.sprites[uint16_t(t.body[0] | t.body[1] << 8)] = firstFramePlaces(t.body + 4, t.length - 4);
    }
  }
  return true;
}

PixelBox boxOf(const swf::Matrix& m, double x0, double y0, double x1, double y1) {
  double xs[4], ys[4];
  const double cx[4] = {x0, x1, x0, x1}, cy[4] = {y0, y0, y1, y1};
  for (int i = 0; i < 4; ++i) {
    swf::Vec2 p = m.apply(cx[i], cy[i]);
    xs[i] = p.x / 20;
    ys[i] = p.y / 20;
  }
  return PixelBox{int(std::floor(*std::min_element(xs, xs + 4))), int(std::floor(*std::min_element(ys, ys + 4))),
                  int(std::ceil(*std::max_element(xs, xs + 4))), int(std::ceil(*std::max_element(ys, ys + 4)))};
}

// Each glyph's outline box, by its record's pen position and height.
void glyphBoxes(const MovieText& movie, const swf::StaticText& text, const swf::Matrix& place,
                std::vector<Expected>& out) {
  for (const swf::TextRun& run : text.runs) {
    auto font = movie.fonts.find(run.fontId);
    if (font == movie.fonts.end()) continue;
    double x = run.x;
    for (const swf::GlyphEntry& g : run.glyphs) {
      if (g.index < font->second.glyphs.size() && !font->second.glyphs[g.index].edges.empty()) {
        const swf::Shape& s = font->second.glyphs[g.index];
        int32_t gx0 = INT32_MAX, gy0 = INT32_MAX, gx1 = INT32_MIN, gy1 = INT32_MIN;
        for (const swf::ShapeEdge& e : s.edges) {
          for (const swf::Point& p : {e.from, e.control, e.to}) {
            gx0 = std::min(gx0, p.x), gy0 = std::min(gy0, p.y), gx1 = std::max(gx1, p.x), gy1 = std::max(gy1, p.y);
          }
        }
        double k = run.height / font->second.emSize;
        swf::Matrix m = place * text.matrix;
        out.push_back(Expected{boxOf(m, x + gx0 * k, run.y + gy0 * k, x + gx1 * k, run.y + gy1 * k), run.color});
      }
      x += g.advance;
    }
  }
}

int distance(const Picture& pic, int x, int y, const swf::Rgba& c) {
  return std::max({std::abs(pic.r(x, y) - c.r), std::abs(pic.g(x, y) - c.g), std::abs(pic.b(x, y) - c.b)});
}

// Somewhere in the box the colour comes through at least half way.
void expectInk(const Picture& pic, const Expected& e, const char* what) {
  int best = 255;
  for (int y = std::max(0, e.box.y0); y < std::min(pic.height, e.box.y1); ++y)
    for (int x = std::max(0, e.box.x0); x < std::min(pic.width, e.box.x1); ++x)
      best = std::min(best, distance(pic, x, y, e.color));
  EXPECT_LT(best, 128) << what << " at " << e.box.x0 << "," << e.box.y0 << "-" << e.box.x1 << "," << e.box.y1;
}

// Strokes of glyphs narrower than this may spread over pixels that none
// covers half.
bool wideEnough(const Expected& g) { return g.box.x1 - g.box.x0 >= 3 && g.box.y1 - g.box.y0 >= 3; }

// Outside every expected box (widened by a pixel for anti-aliasing) the
// background shows.
void expectNoStrayInk(const Picture& pic, const std::vector<Expected>& all, const swf::Rgba& background) {
  int stray = 0;
  for (int y = 0; y < pic.height; ++y)
    for (int x = 0; x < pic.width; ++x) {
      bool inside = std::any_of(all.begin(), all.end(), [&](const Expected& e) {
        return PixelBox{e.box.x0 - 1, e.box.y0 - 1, e.box.x1 + 1, e.box.y1 + 1}.contains(x, y);
      });
      if (!inside && distance(pic, x, y, background) > 8) ++stray;
    }
  EXPECT_EQ(stray, 0);
}

std::string sample(const char* name) {
  const char* root = std::getenv("MVQ_SOURCE_DIR");
  return std::string(root ? root : ".") + "/../shared/corpus/gnash-samples/" + name;
}

struct Rendered {
  MovieText text;
  Picture picture;
  swf::Rgba background;
};

bool render(const char* name, Rendered& out) {
  std::vector<uint8_t> bytes;
  if (!readMovie(sample(name), bytes, out.text)) return false;
  swf::MoviePlayer player;
  EXPECT_TRUE(player.load(bytes));
  out.picture = playertest::render(player, player.stageWidthPixels(), player.stageHeightPixels());
  uint32_t rgb = player.backgroundRgb();
  out.background = swf::Rgba{uint8_t(rgb >> 16), uint8_t(rgb >> 8), uint8_t(rgb), 255};
  return true;
}

std::vector<Expected> staticGlyphs(const MovieText& movie) {
  std::vector<Expected> boxes;
  for (const swf::PlaceCommand& p : movie.places) {
    auto text = movie.texts.find(p.characterId);
    if (text != movie.texts.end()) glyphBoxes(movie, text->second, p.matrix, boxes);
  }
  return boxes;
}

// Fields with text placed without a colour transform, in sprites too.
void fieldBoxes(const MovieText& movie, const std::vector<swf::PlaceCommand>& places, const swf::Matrix& outer,
                std::vector<Expected>& boxes) {
  for (const swf::PlaceCommand& p : places) {
    if (p.hasColorTransform) continue;
    auto sprite = movie.sprites.find(p.characterId);
    if (sprite != movie.sprites.end()) fieldBoxes(movie, sprite->second, outer * p.matrix, boxes);
    auto f = movie.fields.find(p.characterId);
    if (f == movie.fields.end() || f->second.initialText.empty()) continue;
    const swf::Rect& b = f->second.bounds;
    boxes.push_back(Expected{boxOf(outer * p.matrix, b.xMin, b.yMin, b.xMax, b.yMax), f->second.color});
  }
}

std::vector<Expected> fieldBoxes(const MovieText& movie) {
  std::vector<Expected> boxes;
  fieldBoxes(movie, movie.places, swf::Matrix{}, boxes);
  return boxes;
}

TEST(GnashSamples, LongStaticTextInksEachGlyphAndNothingElse) {
  Rendered r;
  if (!render("test_long_static_text.swf", r)) GTEST_SKIP() << "no corpus";
  std::vector<Expected> glyphs = staticGlyphs(r.text);
  ASSERT_GT(glyphs.size(), 100u);
  size_t onStage = 0;
  for (const Expected& g : glyphs) {
    bool visible = g.box.x0 >= 0 && g.box.x1 <= r.picture.width && g.box.y0 >= 0 && g.box.y1 <= r.picture.height;
    if (visible && wideEnough(g)) {
      expectInk(r.picture, g, "glyph");
      ++onStage;
    }
  }
  EXPECT_GT(onStage, 100u);
  expectNoStrayInk(r.picture, glyphs, r.background);
}

// Text fields in three embedded fonts: their words inside their boxes, in
// their colours, and nothing else on the stage.
TEST(GnashSamples, SharedFontsFieldsShowTheirWords) {
  Rendered r;
  if (!render("shared-fonts.swf", r)) GTEST_SKIP() << "no corpus";
  std::vector<Expected> fields = fieldBoxes(r.text);
  ASSERT_EQ(fields.size(), 2u);  // the third field starts empty
  for (const Expected& f : fields) expectInk(r.picture, f, "field");
  expectNoStrayInk(r.picture, fields, r.background);
}

// Fields drawn in device fonts and in an embedded one over shapes: each
// shows ink of its colour inside its box.
TEST(GnashSamples, InputFieldsAndCounterShowTheirText) {
  for (const char* name : {"input-fields.swf", "counter.swf"}) {
    Rendered r;
    if (!render(name, r)) GTEST_SKIP() << "no corpus";
    std::vector<Expected> fields = fieldBoxes(r.text);
    ASSERT_FALSE(fields.empty()) << name;
    for (const Expected& f : fields) expectInk(r.picture, f, name);
    for (const Expected& g : staticGlyphs(r.text)) {
      if (wideEnough(g)) expectInk(r.picture, g, name);
    }
  }
}

}  // namespace
