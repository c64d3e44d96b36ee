// The HTML subset of text fields: what each tag does to the formats of the
// runs, entities, and input that is not well formed.
#include <gtest/gtest.h>

#include "text/html_text.h"

namespace {

using swf::FormattedText;
using swf::TextFormat;

TextFormat base() {
  TextFormat f;
  f.size = 240;
  f.color = swf::Rgba{1, 2, 3, 255};
  return f;
}

std::u32string all(const FormattedText& t) {
  std::u32string s;
  for (const auto& span : t) s += span.text;
  return s;
}

TEST(HtmlText, CharacterTagsNestAndClose) {
  FormattedText t = swf::parseHtml(U"a<b>b<i>c<u>d</u></i></b>e", base());
  ASSERT_EQ(t.size(), 5u);
  EXPECT_EQ(all(t), U"abcde");
  EXPECT_FALSE(t[0].format.bold);
  EXPECT_TRUE(t[1].format.bold && !t[1].format.italic);
  EXPECT_TRUE(t[2].format.bold && t[2].format.italic && !t[2].format.underline);
  EXPECT_TRUE(t[3].format.underline);
  EXPECT_EQ(t[4].format, base());
}

TEST(HtmlText, FontFaceSizeAndColour) {
  FormattedText t = swf::parseHtml(
      U"<FONT FACE='Arial' SIZE=\"20\" COLOR=\"#FF8000\">x<font size=\"+4\">y<font size=\"-10\">z</font></font></FONT>",
      base());
  ASSERT_EQ(t.size(), 3u);
  EXPECT_EQ(t[0].format.face, "Arial");
  EXPECT_EQ(t[0].format.size, 400u);
  EXPECT_EQ(t[0].format.color, (swf::Rgba{255, 128, 0, 255}));
  EXPECT_EQ(t[1].format.size, 480u);
  EXPECT_EQ(t[2].format.size, 280u);
  EXPECT_EQ(t[2].format.face, "Arial");
}

TEST(HtmlText, ParagraphsBreaksAndListItemsEndLines) {
  FormattedText t = swf::parseHtml(U"<p align=\"center\">one</p><p>two<br>three</p>x<li>item</li>", base());
  EXPECT_EQ(all(t), U"one\ntwo\nthree\nx\nitem\n");
  EXPECT_EQ(t[0].format.align, swf::TextAlign::Center);
  EXPECT_EQ(t.back().format.bullet, true);
  EXPECT_EQ(t.back().text, U"item\n");
}

TEST(HtmlText, AParagraphsBreakTakesTheFormatOfItsLastCharacter) {
  FormattedText t = swf::parseHtml(U"<p><font size=\"30\" kerning=\"1\">one</font></p><p></p>", base());
  ASSERT_EQ(t.size(), 2u);
  EXPECT_EQ(t[0].text, U"one\n");
  EXPECT_TRUE(t[0].format.kerning);
  EXPECT_EQ(t[0].format.size, 600u);
  // An empty paragraph's break keeps the paragraph's own format.
  EXPECT_EQ(t[1].text, U"\n");
  EXPECT_EQ(t[1].format, base());
}

TEST(HtmlText, TextFormatSetsMarginsIndentAndLeadingInPixels) {
  FormattedText t = swf::parseHtml(
      U"<textformat leftmargin=\"5\" rightmargin=\"6\" indent=\"7\" blockindent=\"8\" leading=\"-2\">x</textformat>y",
      base());
  ASSERT_EQ(t.size(), 2u);
  EXPECT_EQ(t[0].format.leftMargin, 100);
  EXPECT_EQ(t[0].format.rightMargin, 120);
  EXPECT_EQ(t[0].format.indent, 140);
  EXPECT_EQ(t[0].format.blockIndent, 160);
  EXPECT_EQ(t[0].format.leading, -40);
  EXPECT_EQ(t[1].format.leftMargin, 0);
}

TEST(HtmlText, LinksKeepTheirTarget) {
  FormattedText t = swf::parseHtml(U"<a href=\"http://x/?a=1&amp;b=2\">go</a>", base());
  ASSERT_EQ(t.size(), 1u);
  EXPECT_EQ(t[0].format.url, "http://x/?a=1&b=2");
}

TEST(HtmlText, EntitiesAndStrayMarkup) {
  EXPECT_EQ(all(swf::parseHtml(U"&lt;&gt;&amp;&quot;&apos;&nbsp;&#65;&#x42;&bogus;&", base())),
            U"<>&\"'\u00A0AB&bogus;&");
  EXPECT_EQ(all(swf::parseHtml(U"a<unknown x=1>b</unknown>c</b>d<", base())), U"abcd<");
  EXPECT_EQ(all(swf::parseHtml(U"a\r\nb\rc", base())), U"a\nb\nc");
  FormattedText unclosed = swf::parseHtml(U"<b><i>x", base());
  ASSERT_EQ(unclosed.size(), 1u);
  EXPECT_TRUE(unclosed[0].format.bold && unclosed[0].format.italic);
}

TEST(HtmlText, DeepNestingIsBounded) {
  std::u32string html;
  for (int i = 0; i < 100000; ++i) html += U"<b>";
  html += U"x";
  FormattedText t = swf::parseHtml(html, base());
  ASSERT_EQ(t.size(), 1u);
  EXPECT_TRUE(t[0].format.bold);
}

// Markup that never closes costs one pass, not one per '<' or '&'.
TEST(HtmlText, UnclosedMarkupStaysLinear) {
  std::u32string html(300000, U'<');
  html += std::u32string(300000, U'&');
  EXPECT_EQ(all(swf::parseHtml(html, base())).size(), html.size());
}

TEST(HtmlText, FormattedTextReadsBackAsTheSameRuns) {
  FormattedText t = swf::parseHtml(
      U"<p align=\"right\"><font face=\"_sans\" size=\"14\" color=\"#00ff00\">a<b>b</b></font></p>"
      U"<li><u>c &amp; d</u></li>",
      base());
  std::u32string html = swf::formatHtml(t);
  FormattedText again = swf::parseHtml(html, base());
  ASSERT_EQ(again.size(), t.size()) << std::string(html.begin(), html.end());
  for (size_t i = 0; i < t.size(); ++i) {
    EXPECT_EQ(again[i].text, t[i].text);
    EXPECT_EQ(again[i].format.bold, t[i].format.bold);
    EXPECT_EQ(again[i].format.underline, t[i].format.underline);
    EXPECT_EQ(again[i].format.color, t[i].format.color);
    EXPECT_EQ(again[i].format.size, t[i].format.size);
    EXPECT_EQ(again[i].format.align, t[i].format.align);
    EXPECT_EQ(again[i].format.bullet, t[i].format.bullet);
  }
}

// Runs nest in the paragraph's first FONT, each naming what it changes; a
// run back in an enclosing font closes the levels inside it.
TEST(HtmlText, RunsNestInTheParagraphsFirstFont) {
  TextFormat big = base();
  big.size = 2000;
  TextFormat bigSans = big;
  bigSans.face = "_sans";
  FormattedText t;
  swf::appendText(t, U"a", base());
  swf::appendText(t, U"b", big);
  swf::appendText(t, U"c", bigSans);
  swf::appendText(t, U"d\n", base());
  TextFormat wide = base();
  wide.leftMargin = 100;
  wide.leading = 40;
  swf::appendText(t, U"e", wide);
  std::u32string html = swf::formatHtml(t, "Serif");
  std::string got(html.begin(), html.end());
  const std::string first =
      "<P ALIGN=\"LEFT\"><FONT FACE=\"Serif\" SIZE=\"12\" COLOR=\"#010203\" LETTERSPACING=\"0\" "
      "KERNING=\"0\">a<FONT SIZE=\"100\">b<FONT FACE=\"_sans\">c</FONT></FONT>d</FONT></P>";
  const std::string second =
      "<TEXTFORMAT LEFTMARGIN=\"5\" LEADING=\"2\"><P ALIGN=\"LEFT\"><FONT FACE=\"Serif\" "
      "SIZE=\"12\" COLOR=\"#010203\" LETTERSPACING=\"0\" KERNING=\"0\">e</FONT></P></TEXTFORMAT>";
  EXPECT_EQ(got, first + second);
}

TEST(HtmlText, KerningAndLetterSpacingReadAndWriteBack) {
  FormattedText t =
      swf::parseHtml(U"<font kerning=\"1\" letterSpacing=\"-2.5\">a<font letterspacing=\"x\">b</font></font>c", base());
  ASSERT_EQ(t.size(), 3u);
  EXPECT_TRUE(t[0].format.kerning);
  EXPECT_EQ(t[0].format.letterSpacing, -2.5);
  EXPECT_EQ(t[1].format.letterSpacing, 0);  // not a number
  EXPECT_FALSE(t[2].format.kerning);
  std::u32string html = swf::formatHtml(t, "Serif");
  std::string got(html.begin(), html.end());
  EXPECT_EQ(got,
            "<P ALIGN=\"LEFT\"><FONT FACE=\"Serif\" SIZE=\"12\" COLOR=\"#010203\" LETTERSPACING=\"-2.5\" "
            "KERNING=\"1\">a<FONT LETTERSPACING=\"0\">b<FONT KERNING=\"0\">c</FONT></FONT></FONT></P>");
}

TEST(TextEncoding, Utf8AndLatin1) {
  EXPECT_EQ(swf::decodeText("a\xc3\xa9\xe2\x82\xac\xf0\x9f\x98\x80", true), U"a\u00e9\u20ac\U0001F600");
  EXPECT_EQ(swf::decodeText("\xe9\xc3", true), U"\u00e9\u00c3");  // bad bytes stand for themselves
  EXPECT_EQ(swf::decodeText("\xc0\xaf", true), U"\u00c0\u00af");  // overlong
  EXPECT_EQ(swf::decodeText("\xc3\xa9", false), U"\u00c3\u00a9");
  EXPECT_EQ(swf::encodeUtf8(U"a\u00e9\u20ac\U0001F600"), "a\xc3\xa9\xe2\x82\xac\xf0\x9f\x98\x80");
}

}  // namespace
