// flash.display.BitmapData: which sizes the player makes, pixels as stored,
// compare's codes and differences, hitTest against points, areas and
// bitmaps, and the -1 of a disposed bitmap.
#include <gtest/gtest.h>

#include "avm1_builtin_support.h"

namespace {

using namespace avm1test;

Value point(World& w, double x, double y) {
  Value p(w.vm.newObject());
  p.object->set("x", Value(x));
  p.object->set("y", Value(y));
  return p;
}

Value area(World& w, double x, double y, double width, double height) {
  Value r = point(w, x, y);
  r.object->set("width", Value(width));
  r.object->set("height", Value(height));
  return r;
}

TEST(Avm1BitmapData, SizeLimitsFollowTheMovieVersion) {
  World v8(8);
  EXPECT_TRUE(v8.make("flash.display.BitmapData", {Value(2880), Value(2880)}).isObject());
  EXPECT_TRUE(v8.make("flash.display.BitmapData", {Value(2881), Value(1)}).isUndefined());
  EXPECT_TRUE(v8.make("flash.display.BitmapData", {Value(0), Value(5)}).isUndefined());
  EXPECT_TRUE(v8.make("flash.display.BitmapData", {}).isUndefined());
  World v10(10);
  EXPECT_TRUE(v10.make("flash.display.BitmapData", {Value(8191), Value(1)}).isObject());
  EXPECT_TRUE(v10.make("flash.display.BitmapData", {Value(8192), Value(1)}).isUndefined());
  // Under 2^24 pixels in all.
  EXPECT_TRUE(v10.make("flash.display.BitmapData", {Value(4095), Value(4096)}).isObject());
  EXPECT_TRUE(v10.make("flash.display.BitmapData", {Value(4096), Value(4096)}).isUndefined());
  World v7(7);
  EXPECT_TRUE(v7.global("flash").isUndefined());
}

TEST(Avm1BitmapData, PixelsKeepAlphaOnlyWhenTransparent) {
  World w;
  Value clear = w.make("flash.display.BitmapData", {Value(2), Value(2), Value(true), Value(0)});
  w.call(clear, "setPixel32", {Value(0), Value(0), Value(double(0x80FFFFFFu))});
  EXPECT_EQ(w.number(w.call(clear, "getPixel32", {Value(0), Value(0)})), double(int32_t(0x80FFFFFFu)));
  // setPixel changes the colour under the existing alpha.
  w.call(clear, "setPixel", {Value(0), Value(0), Value(0xBBBBBB)});
  EXPECT_EQ(w.number(w.call(clear, "getPixel32", {Value(0), Value(0)})), double(int32_t(0x80BBBBBBu)));
  // No alpha, no colour.
  w.call(clear, "setPixel32", {Value(1), Value(1), Value(0x00FFFFFF)});
  EXPECT_EQ(w.number(w.call(clear, "getPixel", {Value(1), Value(1)})), 0);
  Value solid = w.make("flash.display.BitmapData", {Value(2), Value(2), Value(false)});
  w.call(solid, "setPixel32", {Value(0), Value(0), Value(0x00123456)});
  EXPECT_EQ(w.number(w.call(solid, "getPixel32", {Value(0), Value(0)})), double(int32_t(0xFF123456u)));
  EXPECT_EQ(w.number(w.call(solid, "getPixel32", {Value(5), Value(0)})), 0);
  w.call(solid, "fillRect", {area(w, -3, 1, 100, 100), Value(double(0xFF010203u))});
  EXPECT_EQ(w.number(w.call(solid, "getPixel", {Value(1), Value(1)})), 0x010203);
  EXPECT_EQ(w.number(w.call(solid, "getPixel", {Value(1), Value(0)})), 0xFFFFFF);
}

TEST(Avm1BitmapData, DisposedBitmapsAnswerMinusOne) {
  World w;
  Value b = w.make("flash.display.BitmapData", {Value(3), Value(3)});
  EXPECT_EQ(w.number(b.object->get("width")), 3);
  w.call(b, "dispose");
  EXPECT_EQ(w.number(b.object->get("width")), -1);
  EXPECT_EQ(w.number(w.call(b, "getPixel", {Value(0), Value(0)})), -1);
  EXPECT_EQ(w.number(w.call(b, "dispose")), -1);
  EXPECT_EQ(w.number(w.call(b, "hitTest", {point(w, 0, 0), Value(0), point(w, 0, 0)})), -1);
}

TEST(Avm1BitmapData, CompareGivesCodesOrTheDifferences) {
  World w;
  Value a = w.make("flash.display.BitmapData", {Value(2), Value(1), Value(true), Value(double(0xFFAACCCCu))});
  Value same = w.make("flash.display.BitmapData", {Value(2), Value(1), Value(true), Value(double(0xFFAACCCCu))});
  EXPECT_EQ(w.number(w.call(a, "compare", {same})), 0);
  EXPECT_EQ(w.number(w.call(a, "compare", {Value("x")})), -2);
  EXPECT_EQ(w.number(w.call(a, "compare", {w.make("flash.display.BitmapData", {Value(1), Value(1)})})), -3);
  EXPECT_EQ(w.number(w.call(a, "compare", {w.make("flash.display.BitmapData", {Value(2), Value(2)})})), -4);
  w.call(same, "setPixel32", {Value(0), Value(0), Value(double(0xFFDDFFFFu))});
  w.call(same, "setPixel32", {Value(1), Value(0), Value(double(0xFEAACCCCu))});
  Value diff = w.call(a, "compare", {same});
  ASSERT_TRUE(diff.isObject());
  // Colours differ: each channel's difference, wrapping, fully opaque.
  EXPECT_EQ(w.number(w.call(diff, "getPixel32", {Value(0), Value(0)})), double(int32_t(0xFFCDCDCDu)));
  // Only alpha differs: its difference over white.
  EXPECT_EQ(w.number(w.call(diff, "getPixel32", {Value(1), Value(0)})), double(int32_t(0x01FFFFFFu)));
  w.call(same, "dispose");
  EXPECT_EQ(w.number(w.call(a, "compare", {same})), -2);
}

TEST(Avm1BitmapData, HitTestReadsOwnMembersAndThresholds) {
  World w;
  Value b = w.make("flash.display.BitmapData", {Value(5), Value(5), Value(true), Value(0)});
  w.call(b, "setPixel32", {Value(2), Value(2), Value(double(0xA0FFFFFFu))});
  auto hit = [&](const Args& args) { return w.call(b, "hitTest", args); };
  EXPECT_TRUE(w.vm.toBoolean(hit({point(w, 0, 0), Value(160), point(w, 2, 2)})));
  EXPECT_FALSE(w.vm.toBoolean(hit({point(w, 0, 0), Value(161), point(w, 2, 2)})));
  // The bitmap is placed at the first point.
  EXPECT_TRUE(w.vm.toBoolean(hit({point(w, 1, 1), Value(1), point(w, 3, 3)})));
  // A point never hits a clear pixel; an area does at threshold 0.
  EXPECT_FALSE(w.vm.toBoolean(hit({point(w, 0, 0), Value(0), point(w, 0, 0)})));
  EXPECT_TRUE(w.vm.toBoolean(hit({point(w, 0, 0), Value(0), area(w, 0, 0, 1, 1)})));
  EXPECT_FALSE(w.vm.toBoolean(hit({point(w, -10, 10), Value(0), area(w, 0, 0, 1, 1)})));
  Value other = w.make("flash.display.BitmapData", {Value(1), Value(1), Value(true), Value(double(0xFFFFFFFFu))});
  EXPECT_TRUE(w.vm.toBoolean(hit({point(w, 0, 0), Value(1), other, point(w, 2, 2), Value(255)})));
  EXPECT_FALSE(w.vm.toBoolean(hit({point(w, 0, 0), Value(1), other, point(w, 3, 2), Value(255)})));
  // Errors: the first point, the second object, the second bitmap's point.
  Value inherited(w.vm.newObject(point(w, 0, 0).object));
  EXPECT_EQ(w.number(hit({inherited, Value(0), b})), -2);
  EXPECT_EQ(w.number(hit({point(w, 0, 0), Value(0), Value(w.vm.newObject())})), -3);
  EXPECT_EQ(w.number(hit({point(w, 0, 0), Value(0), b, Value::null()})), -4);
}

}  // namespace
