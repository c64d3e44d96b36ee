// flash.geom: points, rectangles, matrices and color transforms computed as
// the real player's classes compute them, undefined and NaN included.
#include <gtest/gtest.h>

#include "avm1_builtin_support.h"

namespace {

using namespace avm1test;

TEST(Avm1Geom, OnlyVersion8SeesThePackage) {
  World old(7);
  EXPECT_TRUE(old.global("flash").isUndefined());
  World w;
  EXPECT_TRUE(w.global("flash.geom.Point").isObject());
}

TEST(Avm1Geom, PointDefaultsToTheOriginAndKeepsArgumentsAsGiven) {
  World w;
  EXPECT_EQ(w.text(w.call(w.make("flash.geom.Point"), "toString")), "(x=0, y=0)");
  EXPECT_EQ(w.text(w.call(w.make("flash.geom.Point", {Value(1)}), "toString")), "(x=1, y=undefined)");
  Value p = w.make("flash.geom.Point", {Value(3), Value(4)});
  EXPECT_EQ(w.number(p.object->get("length")), 5);
  // Adding text concatenates, as the script's + does.
  Value q = w.call(p, "add", {w.make("flash.geom.Point", {Value("a"), Value(1)})});
  EXPECT_EQ(w.text(w.call(q, "toString")), "(x=3a, y=5)");
  EXPECT_EQ(w.number(w.call(w.global("flash.geom.Point"), "distance", {p, w.make("flash.geom.Point")})), 5);
  EXPECT_TRUE(w.vm.toBoolean(w.call(p, "equals", {w.call(p, "clone")})));
  Value plain = Value(w.vm.newObject());
  plain.object->set("x", Value(3));
  plain.object->set("y", Value(4));
  EXPECT_FALSE(w.vm.toBoolean(w.call(p, "equals", {plain})));
}

TEST(Avm1Geom, RectangleEdgesMoveOneSideOnly) {
  World w;
  Value r = w.make("flash.geom.Rectangle", {Value(1), Value(3), Value(5), Value(7)});
  r.object->set("left", Value(0));
  EXPECT_EQ(w.text(w.call(r, "toString")), "(x=0, y=3, w=6, h=7)");
  r.object->set("bottom", Value(20));
  EXPECT_EQ(w.number(r.object->get("height")), 17);
  EXPECT_EQ(w.text(r.object->get("bottomRight")), "(x=6, y=20)");
  EXPECT_EQ(w.text(w.call(w.make("flash.geom.Rectangle"), "toString")), "(x=0, y=0, w=0, h=0)");
}

TEST(Avm1Geom, RectangleTestsLeaveUnorderedAnswersUndefined) {
  World w;
  Value r = w.make("flash.geom.Rectangle", {Value(1), Value(3), Value(5), Value(7)});
  EXPECT_TRUE(w.vm.toBoolean(w.call(r, "contains", {Value(1), Value(3)})));
  EXPECT_FALSE(w.vm.toBoolean(w.call(r, "contains", {Value(6), Value(3)})));
  EXPECT_TRUE(w.call(r, "containsRectangle", {}).isUndefined());
  EXPECT_TRUE(w.vm.toBoolean(w.call(r, "containsRectangle", {w.call(r, "clone")})));
  EXPECT_TRUE(
      w.vm.toBoolean(w.call(w.make("flash.geom.Rectangle", {Value(0), Value(0), Value(NAN), Value(1)}), "isEmpty")));
  Value cut = w.call(r, "intersection", {w.make("flash.geom.Rectangle", {Value(3), Value(5), Value(7), Value(9)})});
  EXPECT_EQ(w.text(w.call(cut, "toString")), "(x=3, y=5, w=3, h=5)");
  EXPECT_FALSE(w.vm.toBoolean(w.call(r, "intersects", {})));
  EXPECT_EQ(w.text(w.call(w.call(r, "union", {}), "toString")), "(x=NaN, y=NaN, w=NaN, h=NaN)");
}

TEST(Avm1Geom, MatrixComposesAndInverts) {
  World w;
  Value m = w.make("flash.geom.Matrix", {Value(2), Value(3), Value(5), Value(7), Value(9), Value(11)});
  w.call(m, "invert");
  EXPECT_EQ(w.text(w.call(m, "toString")), "(a=-7, b=3, c=5, d=-2, tx=8, ty=-5)");
  Value id = w.make("flash.geom.Matrix");
  w.call(id, "scale", {Value(2), Value(3)});
  w.call(id, "translate", {Value(1), Value(1)});
  EXPECT_EQ(w.text(w.call(id, "transformPoint", {w.make("flash.geom.Point", {Value(1), Value(1)})})), "(x=3, y=4)");
  w.call(id, "createGradientBox", {Value(200), Value(300)});
  EXPECT_EQ(w.text(w.call(id, "toString")), "(a=0.1220703125, b=0, c=0, d=0.18310546875, tx=100, ty=150)");
}

TEST(Avm1Geom, ColorTransformRgbAndConcat) {
  World w;
  Value ct = w.make("flash.geom.ColorTransform",
                    {Value(0.5), Value(0.5), Value(0.5), Value(0.5), Value(10), Value(20), Value(30), Value(40)});
  Value other = w.make("flash.geom.ColorTransform",
                       {Value(0.5), Value(0.5), Value(0.5), Value(0.5), Value(50), Value(60), Value(70), Value(80)});
  w.call(ct, "concat", {other});
  EXPECT_EQ(w.number(ct.object->get("redOffset")), 35);
  EXPECT_EQ(w.number(ct.object->get("alphaMultiplier")), 0.25);
  ct.object->set("rgb", Value(0x102030));
  EXPECT_EQ(w.number(ct.object->get("redMultiplier")), 0);
  EXPECT_EQ(w.number(ct.object->get("blueOffset")), 0x30);
  EXPECT_EQ(w.number(ct.object->get("rgb")), 0x102030);
  ct.object->set("redMultiplier", Value("x"));
  EXPECT_TRUE(std::isnan(w.number(ct.object->get("redMultiplier"))));
}

}  // namespace
