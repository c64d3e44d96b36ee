#include "json_line.h"

#include <gtest/gtest.h>

TEST(JsonString, EscapesQuotesBackslashesAndControls) {
  EXPECT_EQ(jsonString("a\"b\\c"), "\"a\\\"b\\\\c\"");
  EXPECT_EQ(jsonString("x\ny\tz\r"), "\"x\\ny\\tz\\r\"");
  EXPECT_EQ(jsonString(std::string("\x01\x1f\x7f", 3)), "\"\\u0001\\u001f\\u007f\"");
  EXPECT_EQ(jsonString(std::string("a\0b", 3)), "\"a\\u0000b\"");
}

TEST(JsonString, ValidUtf8PassesAndOtherBytesAreEscaped) {
  EXPECT_EQ(jsonString("caf\xc3\xa9 \xe2\x82\xac \xf0\x9f\x8e\xac"), "\"caf\xc3\xa9 \xe2\x82\xac \xf0\x9f\x8e\xac\"");
  EXPECT_EQ(jsonString("caf\xe9"), "\"caf\\u00e9\"");                  // Latin-1 byte
  EXPECT_EQ(jsonString("\xc3"), "\"\\u00c3\"");                        // cut sequence
  EXPECT_EQ(jsonString("\xc0\xaf"), "\"\\u00c0\\u00af\"");             // overlong
  EXPECT_EQ(jsonString("\xed\xa0\x80"), "\"\\u00ed\\u00a0\\u0080\"");  // surrogate
}

TEST(JsonNumber, ShortestRoundTripWithADecimal) {
  EXPECT_EQ(jsonNumber(12.0), "12.0");
  EXPECT_EQ(jsonNumber(29.5), "29.5");
  EXPECT_EQ(jsonNumber(0.0), "0.0");
  EXPECT_EQ(jsonNumber(-50.0), "-50.0");
  EXPECT_EQ(jsonNumber(1 / 256.0), "0.00390625");
  EXPECT_EQ(jsonNumber(209 * 0.05), "10.450000000000001");
  EXPECT_EQ(jsonNumber(2147483647 * 0.05), "107374182.35000001");
  EXPECT_EQ(jsonNumber(1e20), "1e+20");
  for (double v : {0.1, 10.45, 255.99609375, 1e-7}) EXPECT_EQ(std::stod(jsonNumber(v)), v);
}

TEST(JsonLine, FieldsInOrderWithNestedObjects) {
  JsonLine inner;
  inner.add("result", int64_t{-1});
  JsonLine line;
  line.add("file", std::string("a.swf")).addObject("r", inner).add("rate", 12.0).addNull("c");
  EXPECT_EQ(line.text(), "{\"file\": \"a.swf\", \"r\": {\"result\": -1}, \"rate\": 12.0, \"c\": null}");
  EXPECT_EQ(JsonLine().text(), "{}");
}
