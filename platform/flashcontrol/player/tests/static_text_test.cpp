// Fonts and static text from builder-made movies: each glyph must ink its
// rectangle at the pen position of its record, scaled by the record's height
// over the font's em square, in the record's colour, and nothing between.
#include <gtest/gtest.h>

#include "player_fixture.h"
#include "tags/font_parser.h"
#include "tags/text_parser.h"
#include "text_writer.h"

namespace {

using mvqtest::Matrix;
using mvqtest::Rect;
using mvqtest::Rgba;
using mvqtest::SwfBuilder;
using playertest::FontDraft;
using playertest::GlyphBox;
using playertest::Picture;
using playertest::TextRecordDraft;

constexpr int kT = 20;

// Glyph 0: 10 x 20 pixels standing on the baseline at 1024 twips high; glyph 1
// a narrower one; glyph 2 a space. Version 3 writes the same at 20 times.
FontDraft boxFont(int version) {
  FontDraft f;
  f.version = version;
  int k = version == 3 ? 20 : 1;
  f.glyphs = {GlyphBox{0, -400 * k, 200 * k, 0}, GlyphBox{0, -200 * k, 100 * k, 0}, GlyphBox{0, 0, 0, 0}};
  f.codes = {'A', 'b', ' '};
  f.advances = {int16_t(300 * k), int16_t(150 * k), int16_t(100 * k)};
  f.ascent = int16_t(400 * k);
  f.descent = int16_t(100 * k);
  return f;
}

Picture renderText(const FontDraft& font, const std::vector<TextRecordDraft>& records, int textVersion = 2,
                   const Matrix& textMatrix = {}, bool withInfo = false) {
  SwfBuilder b;
  b.version(8).stage(Rect::pixels(100, 100)).background(255, 255, 255);
  b.tag(font.tagCode(), font.body());
  if (withInfo) b.tag(13, font.infoBody(1));
  b.tag(textVersion == 2 ? 33 : 11,
        playertest::staticTextBody(5, Rect::pixels(100, 100), textMatrix, records, textVersion));
  b.placeObject2(5, 1);
  b.showFrame();
  swf::MoviePlayer p;
  playertest::loadInto(p, b.finish());
  return playertest::render(p, 100, 100);
}

bool inked(const Picture& pic, int x, int y) { return pic.r(x, y) < 250 || pic.g(x, y) < 250 || pic.b(x, y) < 250; }

// Ink in [x0, x1) x [y0, y1) of colour c, checked inside a pixel from each edge,
// and none in the pixel rows and columns just outside.
void expectBox(const Picture& pic, int x0, int y0, int x1, int y1, Rgba c) {
  for (int y = y0 + 1; y < y1 - 1; ++y)
    for (int x = x0 + 1; x < x1 - 1; ++x) {
      ASSERT_EQ(pic.r(x, y), c.r) << x << "," << y;
      ASSERT_EQ(pic.g(x, y), c.g) << x << "," << y;
      ASSERT_EQ(pic.b(x, y), c.b) << x << "," << y;
    }
  for (int x = x0; x < x1; ++x) {
    EXPECT_FALSE(inked(pic, x, y0 - 2)) << x;
    EXPECT_FALSE(inked(pic, x, y1 + 1)) << x;
  }
  for (int y = y0; y < y1; ++y) {
    EXPECT_FALSE(inked(pic, x0 - 2, y)) << y;
    EXPECT_FALSE(inked(pic, x1 + 1, y)) << y;
  }
}

class FontVersions : public ::testing::TestWithParam<int> {};

// 1024 twips high: DefineFont2 glyph units are twips, DefineFont3's a twentieth.
TEST_P(FontVersions, GlyphsStandAtTheirAdvancesScaledByTheHeight) {
  TextRecordDraft r;
  r.font = 1;
  r.height = 1024;
  r.color = Rgba{200, 0, 0};
  r.x = 10 * kT;
  r.y = 50 * kT;
  r.glyphs = {{0, 300}, {1, 150}, {0, 300}};
  Picture pic = renderText(boxFont(GetParam()), {r});
  expectBox(pic, 10, 30, 20, 50, Rgba{200, 0, 0});
  expectBox(pic, 25, 40, 30, 50, Rgba{200, 0, 0});
  expectBox(pic, 32, 30, 42, 50, Rgba{200, 0, 0});  // 10 + 15 + 7.5 pixels
}

TEST_P(FontVersions, HalfTheHeightIsHalfTheGlyph) {
  TextRecordDraft r;
  r.font = 1;
  r.height = 512;
  r.color = Rgba{0, 0, 255};
  r.x = 20 * kT;
  r.y = 60 * kT;
  r.glyphs = {{0, 200}};
  Picture pic = renderText(boxFont(GetParam()), {r});
  expectBox(pic, 20, 50, 25, 60, Rgba{0, 0, 255});
}

INSTANTIATE_TEST_SUITE_P(Font2And3, FontVersions, ::testing::Values(2, 3));

// Style fields a record leaves out carry over; x runs on from the last
// record's advances unless the record sets it.
TEST(StaticText, RecordsCarryTheirStyleForward) {
  TextRecordDraft first;
  first.font = 1;
  first.height = 1024;
  first.color = Rgba{0, 128, 0};
  first.x = 10 * kT;
  first.y = 30 * kT;
  first.glyphs = {{0, 400}};
  TextRecordDraft second;  // same font, colour and x flow; a new baseline
  second.y = 70 * kT;
  second.glyphs = {{0, 400}};
  TextRecordDraft third;  // a new colour, the pen moved back
  third.color = Rgba{0, 0, 0};
  third.x = 60 * kT;
  third.glyphs = {{1, 0}};
  Picture pic = renderText(boxFont(2), {first, second, third});
  expectBox(pic, 10, 10, 20, 30, Rgba{0, 128, 0});
  expectBox(pic, 30, 50, 40, 70, Rgba{0, 128, 0});
  expectBox(pic, 60, 60, 65, 70, Rgba{0, 0, 0});
}

TEST(StaticText, Text2ColoursCarryAlpha) {
  TextRecordDraft r;
  r.font = 1;
  r.height = 1024;
  r.color = Rgba{0, 0, 0, 128};
  r.x = 10 * kT;
  r.y = 50 * kT;
  r.glyphs = {{0, 0}};
  Picture pic = renderText(boxFont(2), {r});
  EXPECT_NEAR(pic.r(15, 40), 127, 2);
  TextRecordDraft opaque = r;  // DefineText has RGB colours: always opaque
  Picture rgb = renderText(boxFont(2), {opaque}, 1);
  EXPECT_EQ(rgb.r(15, 40), 0);
}

TEST(StaticText, TheTextMatrixPlacesTheRecords) {
  TextRecordDraft r;
  r.font = 1;
  r.height = 1024;
  r.color = Rgba{0, 0, 0};
  r.x = 0;
  r.y = 0;
  r.glyphs = {{0, 0}};
  Matrix m;
  m.scaleX = m.scaleY = 2;
  m.translateX = 30 * kT;
  m.translateY = 60 * kT;
  Picture pic = renderText(boxFont(2), {r}, 2, m);
  expectBox(pic, 30, 20, 50, 60, Rgba{0, 0, 0});
}

// DefineFont has no codes or advances of its own: a DefineFontInfo names it,
// and static text still finds its glyphs by index.
TEST(StaticText, DefineFontGlyphsByIndex) {
  FontDraft f = boxFont(1);
  TextRecordDraft r;
  r.font = 1;
  r.height = 1024;
  r.color = Rgba{0, 0, 0};
  r.x = 10 * kT;
  r.y = 50 * kT;
  r.glyphs = {{1, 200}, {0, 0}};
  Picture pic = renderText(f, {r}, 2, {}, true);
  expectBox(pic, 10, 40, 15, 50, Rgba{0, 0, 0});
  expectBox(pic, 20, 30, 30, 50, Rgba{0, 0, 0});
}

TEST(FontParser, Font2FieldsAndInfoCodes) {
  FontDraft draft = boxFont(3);
  draft.name = "Box";
  draft.bold = true;
  mvqtest::Bytes body = draft.body();
  swf::Font font;
  ASSERT_TRUE(swf::parseDefineFont2(body.data(), body.size(), 3, font));
  EXPECT_EQ(font.name, "Box");
  EXPECT_TRUE(font.bold);
  EXPECT_FALSE(font.italic);
  EXPECT_EQ(font.emSize, 20480);
  ASSERT_EQ(font.glyphs.size(), 3u);
  EXPECT_EQ(font.glyphs[0].edges.size(), 4u);
  EXPECT_TRUE(font.glyphs[2].edges.empty());
  EXPECT_EQ(font.glyphFor('b'), 1);
  EXPECT_EQ(font.glyphFor('z'), -1);
  ASSERT_TRUE(font.hasLayout);
  EXPECT_EQ(font.advances[1], 3000);
  EXPECT_EQ(font.ascent, 8000);

  FontDraft info = draft;
  info.name = "Renamed";
  info.codes = {'x', 'y', 'z'};
  mvqtest::Bytes infoBody = info.infoBody(2);
  swf::applyFontInfo(infoBody.data(), infoBody.size(), 2, font);
  EXPECT_EQ(font.name, "Renamed");
  EXPECT_EQ(font.glyphFor('y'), 1);
}

// Every cut of valid tags parses without reading past its end.
TEST(FontParser, TruncatedTagsStayInBounds) {
  TextRecordDraft r;
  r.font = 1;
  r.height = 1024;
  r.color = Rgba{1, 2, 3};
  r.x = 5;
  r.y = 6;
  r.glyphs = {{2, 100}, {1, -50}};
  const mvqtest::Bytes font2 = boxFont(2).body(), font1 = boxFont(1).body();
  const mvqtest::Bytes text = playertest::staticTextBody(3, Rect::pixels(10, 10), {}, {r, r});
  for (size_t n = 0; n <= font2.size(); ++n) {
    std::vector<uint8_t> cut(font2.begin(), font2.begin() + long(n));
    swf::Font f;
    swf::parseDefineFont2(cut.data(), cut.size(), 2, f);
    EXPECT_LE(f.glyphs.size(), 3u);
  }
  for (size_t n = 0; n <= font1.size(); ++n) {
    std::vector<uint8_t> cut(font1.begin(), font1.begin() + long(n));
    swf::Font f;
    swf::parseDefineFont(cut.data(), cut.size(), f);
  }
  for (size_t n = 0; n <= text.size(); ++n) {
    std::vector<uint8_t> cut(text.begin(), text.begin() + long(n));
    swf::StaticText t;
    swf::parseStaticText(cut.data(), cut.size(), 2, t);
    EXPECT_LE(t.runs.size(), 2u);
  }
  swf::StaticText whole;
  ASSERT_TRUE(swf::parseStaticText(text.data(), text.size(), 2, whole));
  ASSERT_EQ(whole.runs.size(), 2u);
  EXPECT_EQ(whole.runs[1].glyphs[1].advance, -50);
  EXPECT_EQ(whole.runs[1].x, 5);
}

}  // namespace
