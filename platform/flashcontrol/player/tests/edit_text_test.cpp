// Text field layout from DefineEditText fields built by the test writer:
// where each glyph lands for the field's gutter, margins, indent, alignment,
// leading, word wrap, autoSize and password, with embedded and device fonts.
#include <gtest/gtest.h>

#include <memory>

#include "player_fixture.h"
#include "tags/edit_text_parser.h"
#include "tags/font_parser.h"
#include "text/edit_text_layout.h"
#include "text/html_text.h"
#include "text/text_field.h"
#include "text_writer.h"

namespace {

using mvqtest::Rect;
using mvqtest::Rgba;
using playertest::EditTextDraft;
using playertest::FontDraft;
using playertest::GlyphBox;

// A layout font at 1024 units: 'a' 500 wide with advance 600, 'W' advance
// 1000, space 250, '*' 400; ascent 800, descent 200, leading 100.
std::shared_ptr<swf::Font> layoutFont() {
  FontDraft f;
  f.name = "Box";
  f.glyphs = {GlyphBox{0, -500, 500, 0}, GlyphBox{0, -700, 900, 0}, GlyphBox{0, 0, 0, 0}, GlyphBox{0, -400, 300, -100},
              GlyphBox{0, -100, 100, 0}};
  f.codes = {'a', 'W', ' ', '*', 0x2022};
  f.advances = {600, 1000, 250, 400, 200};
  f.ascent = 800;
  f.descent = 200;
  f.leading = 100;
  mvqtest::Bytes body = f.body();
  auto font = std::make_shared<swf::Font>();
  EXPECT_TRUE(swf::parseDefineFont2(body.data(), body.size(), 2, *font));
  return font;
}

swf::EditText field(const EditTextDraft& draft) {
  mvqtest::Bytes body = draft.body();
  swf::EditText out;
  EXPECT_TRUE(swf::parseEditText(body.data(), body.size(), out));
  return out;
}

// Fields 1024 twips high: font units are twips.
EditTextDraft draft(const std::string& text) {
  EditTextDraft s;
  s.font = 1;
  s.height = 1024;
  s.color = Rgba{10, 20, 30, 255};
  s.bounds = Rect::twips(1000, 2000, 11000, 8000);
  s.text = text;
  s.multiline = true;
  return s;
}

struct Fixture {
  swf::FontCatalog fonts;
  Fixture() { fonts.add(layoutFont()); }
  swf::TextLayout layout(const EditTextDraft& s) {
    return swf::layoutEditText(
        field(s), swf::FormattedText{swf::TextSpan{swf::decodeText(*s.text, true), swf::baseFormat(field(s))}}, fonts,
        nullptr);
  }
};

TEST(EditTextParser, EveryField) {
  EditTextDraft s = draft("hi");
  s.align = 2;
  s.leftMargin = 1;
  s.rightMargin = 2;
  s.indent = 3;
  s.leading = -4;
  s.variable = "_root.v";
  s.password = s.border = s.autoSize = s.wordWrap = true;
  swf::EditText e = field(s);
  EXPECT_EQ(e.fontId, 1);
  EXPECT_EQ(e.fontHeight, 1024);
  EXPECT_EQ(e.color.b, 30);
  EXPECT_EQ(e.align, swf::TextAlign::Center);
  EXPECT_EQ(e.leftMargin, 1);
  EXPECT_EQ(e.rightMargin, 2);
  EXPECT_EQ(e.indent, 3);
  EXPECT_EQ(e.leading, -4);
  EXPECT_EQ(e.variableName, "_root.v");
  EXPECT_EQ(e.initialText, "hi");
  EXPECT_TRUE(e.password && e.border && e.autoSize && e.wordWrap && e.multiline && e.useOutlines);
  EXPECT_FALSE(e.html);
  mvqtest::Bytes body = s.body();
  for (size_t n = 0; n < body.size(); ++n) {
    swf::EditText cut;
    swf::parseEditText(body.data(), n, cut);  // stays in bounds
  }
}

TEST(EditTextLayout, LeftAlignedTextStartsAfterGutterMarginAndIndent) {
  Fixture f;
  EditTextDraft s = draft("aW");
  s.align = 0;
  s.leftMargin = 100;
  s.indent = 50;
  swf::TextLayout l = f.layout(s);
  ASSERT_EQ(l.glyphs.size(), 2u);
  EXPECT_DOUBLE_EQ(l.glyphs[0].matrix.tx, 1000 + 40 + 100 + 50);
  EXPECT_DOUBLE_EQ(l.glyphs[1].matrix.tx, 1000 + 40 + 100 + 50 + 600);
  EXPECT_DOUBLE_EQ(l.glyphs[0].matrix.ty, 2000 + 40 + 800);  // baseline: gutter and ascent
  EXPECT_DOUBLE_EQ(l.glyphs[0].matrix.a, 1.0);
  EXPECT_EQ(l.glyphs[0].color.g, 20);
  EXPECT_TRUE(l.clipped);
  EXPECT_EQ(l.clip.xMax, 11000);
}

TEST(EditTextLayout, RightAndCentreAlignByTheLineWidth) {
  Fixture f;
  EditTextDraft s = draft("aW ");  // the trailing space takes no room
  s.align = 1;
  s.rightMargin = 200;
  swf::TextLayout right = f.layout(s);
  ASSERT_EQ(right.glyphs.size(), 2u);
  EXPECT_DOUBLE_EQ(right.glyphs[1].matrix.tx + 1000, 11000 - 40 - 200);
  s.align = 2;
  s.rightMargin = 0;
  swf::TextLayout centre = f.layout(s);
  double left = centre.glyphs[0].matrix.tx, end = centre.glyphs[1].matrix.tx + 1000;
  EXPECT_DOUBLE_EQ(left - 1040, 10960 - end);
}

TEST(EditTextLayout, WordsWrapAtSpacesAndLinesStepByAscentDescentLeading) {
  Fixture f;
  EditTextDraft s = draft("aa aa aa");
  s.bounds = Rect::twips(0, 0, 3000 + 80, 8000);  // room for "aa aa" (2650), not a third word
  s.wordWrap = true;
  s.align = 0;
  s.leading = 300;
  swf::TextLayout l = f.layout(s);
  ASSERT_EQ(l.glyphs.size(), 6u);
  EXPECT_DOUBLE_EQ(l.glyphs[0].matrix.ty, 40 + 800);
  EXPECT_DOUBLE_EQ(l.glyphs[2].matrix.ty, 40 + 800);
  EXPECT_DOUBLE_EQ(l.glyphs[2].matrix.tx, 40 + 1450);
  EXPECT_DOUBLE_EQ(l.glyphs[4].matrix.tx, 40);  // the third word begins the next line
  EXPECT_DOUBLE_EQ(l.glyphs[4].matrix.ty, 40 + 800 + 200 + 300 + 800);
}

TEST(EditTextLayout, ALongWordBreaksWhereTheLineEnds) {
  Fixture f;
  EditTextDraft s = draft("aaaaa");
  s.bounds = Rect::twips(0, 0, 1900 + 80, 8000);
  s.wordWrap = true;
  swf::TextLayout l = f.layout(s);
  ASSERT_EQ(l.glyphs.size(), 5u);
  EXPECT_DOUBLE_EQ(l.glyphs[2].matrix.ty, l.glyphs[0].matrix.ty);
  EXPECT_DOUBLE_EQ(l.glyphs[3].matrix.tx, 40);
  EXPECT_GT(l.glyphs[3].matrix.ty, l.glyphs[2].matrix.ty);
}

TEST(EditTextLayout, WithoutWordWrapOnlyNewlinesBreak) {
  Fixture f;
  EditTextDraft s = draft("aa aa aa\raW");
  s.bounds = Rect::twips(0, 0, 1000, 8000);
  swf::TextLayout l = f.layout(s);
  ASSERT_EQ(l.glyphs.size(), 8u);
  EXPECT_DOUBLE_EQ(l.glyphs[5].matrix.ty, l.glyphs[0].matrix.ty);
  EXPECT_DOUBLE_EQ(l.glyphs[6].matrix.tx, 40);
  EXPECT_DOUBLE_EQ(l.glyphs[6].matrix.ty, 40 + 800 + 200 + 800);
}

TEST(EditTextLayout, PasswordsShowStars) {
  Fixture f;
  EditTextDraft s = draft("aWa");
  s.password = true;
  swf::TextLayout l = f.layout(s);
  ASSERT_EQ(l.glyphs.size(), 3u);
  const swf::Font& font = *f.fonts.byId(1);
  for (const auto& g : l.glyphs) EXPECT_EQ(g.shape, &font.glyphs[3]);
  EXPECT_DOUBLE_EQ(l.glyphs[2].matrix.tx - l.glyphs[1].matrix.tx, 400);
}

TEST(EditTextLayout, AutoSizeFitsTheBoxToTheLines) {
  Fixture f;
  EditTextDraft s = draft("aW\ra");
  s.autoSize = true;
  s.border = true;
  s.align = 1;  // anchored at the right edge
  swf::TextLayout l = f.layout(s);
  EXPECT_EQ(l.clip.yMax - 20, 2000 + 40 + (800 + 200) * 2 + 40);
  EXPECT_EQ(l.clip.xMax - 20, 11000);
  EXPECT_EQ(l.clip.xMin, 11000 - 1600 - 80);
  // Background first, then the glyphs, then four border lines.
  ASSERT_EQ(l.glyphs.size(), 1u + 3u + 4u);
  EXPECT_EQ(l.glyphs[0].shape, &swf::unitSquare());
  EXPECT_EQ(l.glyphs[0].color.r, 255);
  EXPECT_EQ(l.glyphs.back().color.r, 0);
}

TEST(EditTextLayout, MissingEmbeddedCharactersTakeNoRoom) {
  Fixture f;
  swf::TextLayout l = f.layout(draft("a?a"));
  ASSERT_EQ(l.glyphs.size(), 2u);
  EXPECT_DOUBLE_EQ(l.glyphs[1].matrix.tx - l.glyphs[0].matrix.tx, 600);
}

// Device fonts: outlines from the source the host installs.
class SquareSource : public swf::GlyphOutlineSource {
 public:
  SquareSource() {
    square_.fills.resize(1);
    square_.groups.push_back(swf::StyleGroup{0, 1, 0, 0});
  }
  bool metrics(const swf::DeviceFace& face, swf::DeviceMetrics& out) override {
    out = swf::DeviceMetrics{16000, 4000, 0};
    lastFamily = face.family;
    return true;
  }
  swf::DeviceGlyph glyph(const swf::DeviceFace& face, char32_t c) override {
    lastBold = face.bold;
    return swf::DeviceGlyph{c == ' ' ? nullptr : &square_, c == 'i' ? 5120.0 : 10240.0};
  }
  swf::DeviceFamily lastFamily = swf::DeviceFamily::Serif;
  bool lastBold = false;

 private:
  swf::Shape square_;
};

TEST(EditTextLayout, DeviceFontsComeFromTheSource) {
  swf::FontCatalog fonts;
  auto named = std::make_shared<swf::Font>();
  named->id = 1;
  named->name = "Arial";
  fonts.add(named);
  EditTextDraft s = draft("ii W");
  s.useOutlines = false;
  SquareSource source;
  swf::EditText e = field(s);
  swf::TextLayout l = swf::layoutEditText(
      e, swf::FormattedText{swf::TextSpan{swf::decodeText(e.initialText, true), swf::baseFormat(e)}}, fonts, &source);
  ASSERT_EQ(l.glyphs.size(), 3u);
  EXPECT_EQ(source.lastFamily, swf::DeviceFamily::Sans);
  const double scale = 1024 / swf::kDeviceEm;
  EXPECT_DOUBLE_EQ(l.glyphs[0].matrix.a, scale);
  EXPECT_DOUBLE_EQ(l.glyphs[1].matrix.tx - l.glyphs[0].matrix.tx, 5120 * scale);
  EXPECT_DOUBLE_EQ(l.glyphs[2].matrix.tx - l.glyphs[1].matrix.tx, (5120 + 10240) * scale);
  EXPECT_DOUBLE_EQ(l.glyphs[0].matrix.ty, 2000 + 40 + 16000 * scale);
}

TEST(EditTextLayout, HtmlFormatsChangeFaceSizeColourAndParagraphs) {
  swf::FontCatalog fonts;
  auto named = std::make_shared<swf::Font>();
  named->id = 1;
  named->name = "Times New Roman";
  fonts.add(named);
  EditTextDraft s = draft("");
  s.useOutlines = false;
  s.html = true;
  swf::EditText e = field(s);
  SquareSource source;
  swf::FormattedText text = swf::parseHtml(
      U"<p>i</p><p align=\"right\"><font face=\"_typewriter\" size=\"20\" color=\"#ff0000\"><b>i</b></font></p>",
      swf::baseFormat(e));
  swf::TextLayout l = swf::layoutEditText(e, text, fonts, &source);
  ASSERT_EQ(l.glyphs.size(), 2u);
  EXPECT_TRUE(source.lastBold);  // the last glyph asked for is the bold one
  EXPECT_EQ(source.lastFamily, swf::DeviceFamily::Mono);
  EXPECT_EQ(l.glyphs[1].color.r, 255);
  EXPECT_DOUBLE_EQ(l.glyphs[1].matrix.a, 400 / swf::kDeviceEm);
  EXPECT_DOUBLE_EQ(l.glyphs[1].matrix.tx + 5120 * 400 / swf::kDeviceEm, 11000 - 40);
  EXPECT_DOUBLE_EQ(l.glyphs[0].matrix.tx, 1000 + 40);
  EXPECT_EQ(l.glyphs[0].color.r, 10);
}

TEST(DeviceFonts, NamesMapToFamilies) {
  EXPECT_EQ(swf::deviceFamilyFor("_sans"), swf::DeviceFamily::Sans);
  EXPECT_EQ(swf::deviceFamilyFor("Arial"), swf::DeviceFamily::Sans);
  EXPECT_EQ(swf::deviceFamilyFor("verdana"), swf::DeviceFamily::Sans);
  EXPECT_EQ(swf::deviceFamilyFor("_serif"), swf::DeviceFamily::Serif);
  EXPECT_EQ(swf::deviceFamilyFor("Times New Roman"), swf::DeviceFamily::Serif);
  EXPECT_EQ(swf::deviceFamilyFor("_typewriter"), swf::DeviceFamily::Mono);
  EXPECT_EQ(swf::deviceFamilyFor("Courier New"), swf::DeviceFamily::Mono);
  EXPECT_EQ(swf::deviceFamilyFor("Some Font"), swf::DeviceFamily::Serif);
}

TEST(TextField, TextAndHtmlTextReadBackWhatWasSet) {
  swf::FontCatalog fonts;
  EditTextDraft s = draft("<b>x</b>");
  s.html = true;
  auto def = std::make_shared<swf::EditText>(field(s));
  swf::TextField html(def, fonts, 8);
  EXPECT_EQ(html.text(), "x");
  EXPECT_NE(html.htmlText().find("<B>x</B>"), std::string::npos);
  html.setText("caf\xc3\xa9 & <i>");
  EXPECT_EQ(html.text(), "caf\xc3\xa9 & <i>");
  EXPECT_NE(html.htmlText().find("&amp; &lt;i&gt;"), std::string::npos);
  html.setHtmlText("<p>a</p><p>b</p>");
  EXPECT_EQ(html.text(), "a\nb\n");

  auto plainDef = std::make_shared<swf::EditText>(field(draft("<b>x</b>")));
  swf::TextField plain(plainDef, fonts, 5);
  EXPECT_EQ(plain.text(), "<b>x</b>");  // not an HTML field: tags are text
  plain.setHtmlText("\xe9");
  EXPECT_EQ(plain.htmlText(), "\xe9");  // Latin-1 before version 6
}

// Six lines of 1000 twips in a box that shows two and a half of them.
TEST(TextField, ScrollShowsLaterLinesAndStaysWithinTheText) {
  Fixture f;
  EditTextDraft s = draft("a\ra\ra\ra\ra\ra");
  s.bounds = Rect::twips(0, 0, 4000, 2580);
  auto def = std::make_shared<swf::EditText>(field(s));
  swf::TextField text(def, f.fonts, 8);
  EXPECT_EQ(text.scroll(), 1);
  EXPECT_EQ(text.maxScroll(), 5);
  EXPECT_EQ(text.bottomScroll(), 2);
  ASSERT_EQ(text.layout().glyphs.size(), 6u);
  EXPECT_DOUBLE_EQ(text.layout().glyphs[2].matrix.ty, 40 + 2000 + 800);

  text.setScroll(3);
  EXPECT_EQ(text.scroll(), 3);
  EXPECT_EQ(text.bottomScroll(), 4);
  EXPECT_DOUBLE_EQ(text.layout().glyphs[2].matrix.ty, 40 + 800);         // the third line at the top
  EXPECT_DOUBLE_EQ(text.layout().glyphs[0].matrix.ty, 40 + 800 - 2000);  // cut off above

  text.setScroll(100);
  EXPECT_EQ(text.scroll(), 5);
  EXPECT_EQ(text.bottomScroll(), 6);
  text.setScroll(-4);
  EXPECT_EQ(text.scroll(), 1);
  text.setScroll(4);
  text.setText("a");
  EXPECT_EQ(text.scroll(), 1);
  EXPECT_EQ(text.maxScroll(), 1);
  EXPECT_EQ(text.bottomScroll(), 1);
}

}  // namespace
