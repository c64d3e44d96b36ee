// The classes that stand for the player around a movie: Color on a clip,
// Key, Mouse, Stage, System and TextFormat.
#include <gtest/gtest.h>

#include <cmath>

#include "avm1/action_target.h"
#include "avm1_builtin_support.h"

namespace {

using namespace avm1test;

// A clip that only keeps a color transform.
class PaintedClip : public swf::avm1::ActionTarget {
 public:
  void play() override {}
  void stop() override {}
  void nextFrame() override {}
  void prevFrame() override {}
  void gotoFrame(int, bool) override {}
  bool gotoLabel(const std::string&, bool) override { return false; }
  ActionTarget* childNamed(const std::string&) override { return nullptr; }
  ActionTarget* parentTarget() override { return nullptr; }
  ActionTarget* rootTarget() override { return this; }
  void colorTransform(double out[8]) override {
    for (int i = 0; i < 8; ++i) out[i] = c[i];
  }
  void setColorTransform(const double in[8]) override {
    for (int i = 0; i < 8; ++i) c[i] = i < 4 ? std::trunc(in[i] * 256 / 100) * 100 / 256 : std::trunc(in[i]);
  }
  double c[8] = {100, 100, 100, 100, 0, 0, 0, 0};
};

class ClipHandle : public Object {
 public:
  ClipHandle(Vm& vm, Object* proto, PaintedClip* clip) : Object(vm, proto), clip_(clip) {}
  swf::avm1::ActionTarget* clip() const override { return clip_; }

 private:
  PaintedClip* clip_;
};

TEST(Avm1Color, SetRgbClearsTheMultipliersAndGetRgbPacksTheOffsets) {
  World w;
  PaintedClip clip;
  Value color = w.make("Color", {Value(w.vm.make<ClipHandle>(w.vm.objectPrototype(), &clip))});
  EXPECT_EQ(w.number(w.call(color, "getRGB")), 0);
  w.call(color, "setRGB", {Value(0x14283C)});
  EXPECT_EQ(w.number(w.call(color, "getRGB")), 0x14283C);
  Value t = w.call(color, "getTransform");
  EXPECT_EQ(w.number(t.object->get("ra")), 0);
  EXPECT_EQ(w.number(t.object->get("gb")), 40);
  EXPECT_EQ(w.number(t.object->get("aa")), 100);  // alpha stays
  // Negative offsets come back signed.
  Object* negative = w.vm.newObject();
  negative->set("rb", Value(-1));
  negative->set("gb", Value(0));
  negative->set("bb", Value(0));
  w.call(color, "setTransform", {Value(negative)});
  EXPECT_EQ(w.number(w.call(color, "getRGB")), -65536);
}

TEST(Avm1Color, SetTransformChangesOnlyTheFieldsGiven) {
  World w;
  PaintedClip clip;
  Value color = w.make("Color", {Value(w.vm.make<ClipHandle>(w.vm.objectPrototype(), &clip))});
  Object* half = w.vm.newObject();
  half->set("aa", Value(50));
  half->set("rb", Value(255));
  w.call(color, "setTransform", {Value(half)});
  EXPECT_EQ(clip.c[3], 50);
  EXPECT_EQ(clip.c[4], 255);
  EXPECT_EQ(clip.c[0], 100);
  w.call(color, "setTransform", {Value(w.vm.newObject())});
  EXPECT_EQ(clip.c[3], 50);
  // Without a clip there is nothing to read.
  Value orphan = w.make("Color");
  EXPECT_TRUE(w.call(orphan, "getRGB").isUndefined());
  EXPECT_TRUE(w.call(orphan, "getTransform").isUndefined());
  EXPECT_TRUE(w.call(w.make("Color", {Value("nowhere")}), "getRGB").isUndefined());
}

TEST(Avm1InputObjects, KeyAndMouseArePresentButNothingIsPressed) {
  World w;
  EXPECT_EQ(w.number(w.global("Key.ENTER")), 13);
  EXPECT_EQ(w.number(w.global("Key.DELETEKEY")), 46);
  Value key = w.global("Key");
  EXPECT_FALSE(w.vm.toBoolean(w.call(key, "isDown", {Value(13)})));
  EXPECT_EQ(w.number(w.call(key, "getCode")), 0);
  // Constants cannot be changed or removed.
  key.object->set("ENTER", Value(1));
  EXPECT_FALSE(key.object->remove("ENTER"));
  EXPECT_EQ(w.number(w.global("Key.ENTER")), 13);
  EXPECT_TRUE(w.global("Key._listeners").isObject());
  EXPECT_TRUE(w.global("Mouse._listeners").isObject());
  EXPECT_TRUE(w.vm.toBoolean(w.call(w.global("Mouse"), "addListener", {Value(w.vm.newObject())})));
}

TEST(Avm1Stage, SizeComesFromTheHostAndModesAreNormalised) {
  World w;
  EXPECT_EQ(w.number(w.global("Stage.width")), 550);
  EXPECT_EQ(w.number(w.global("Stage.height")), 400);
  Object* stage = w.global("Stage").object;
  stage->set("width", Value(10));
  EXPECT_EQ(w.number(w.global("Stage.width")), 550);
  EXPECT_EQ(w.text(w.global("Stage.scaleMode")), "showAll");
  stage->set("scaleMode", Value("EXACTFIT"));
  EXPECT_EQ(w.text(w.global("Stage.scaleMode")), "exactFit");
  stage->set("scaleMode", Value("bogus"));
  EXPECT_EQ(w.text(w.global("Stage.scaleMode")), "showAll");
  EXPECT_EQ(w.text(w.global("Stage.align")), "");
  stage->set("align", Value("TllLBbbtRrrlBr"));
  EXPECT_EQ(w.text(w.global("Stage.align")), "LTRB");
  stage->set("align", Value(true));
  EXPECT_EQ(w.text(w.global("Stage.align")), "TR");
  EXPECT_TRUE(w.global("Stage.addListener").isObject());
}

TEST(Avm1System, CapabilitiesDescribeAFlashEightPlayerAndSecurityCallsExist) {
  World w;
  EXPECT_EQ(w.text(w.global("System.capabilities.version")).substr(0, 6), "WIN 8,");
  EXPECT_TRUE(w.vm.toBoolean(w.global("System.capabilities.hasAudio")));
  EXPECT_EQ(w.number(w.global("System.capabilities.screenResolutionX")), 1024);
  EXPECT_TRUE(w.call(w.global("System.security"), "allowDomain", {Value("*")}).isUndefined());
  EXPECT_TRUE(w.global("System.security.loadPolicyFile").isObject());
}

TEST(Avm1TextFormat, ConstructorArgumentsInOrderAndNullForTheRest) {
  World w;
  Value plain = w.make("TextFormat");
  EXPECT_TRUE(plain.object->get("font").isNull());
  EXPECT_TRUE(plain.object->get("letterSpacing").isNull());
  Value f = w.make("TextFormat", {Value("Arial"), Value(12.7), Value(0xff0000), Value(1), Value(), Value(0), Value("u"),
                                  Value("_blank"), Value("CENTER"), Value(4)});
  EXPECT_EQ(w.text(f.object->get("font")), "Arial");
  EXPECT_EQ(w.number(f.object->get("size")), 13);  // whole numbers, rounded
  EXPECT_EQ(w.number(f.object->get("color")), 0xff0000);
  EXPECT_TRUE(f.object->get("bold").boolean);
  EXPECT_TRUE(f.object->get("italic").isNull());
  EXPECT_EQ(f.object->get("underline").type, Value::Type::Bool);
  EXPECT_EQ(w.text(f.object->get("align")), "center");
  EXPECT_EQ(w.number(f.object->get("leftMargin")), 4);
  EXPECT_TRUE(
      w.make("TextFormat", {Value(), Value(), Value(), Value(), Value(), Value(), Value(), Value(), Value("middle")})
          .object->get("align")
          .isNull());
  Value extent = w.call(f, "getTextExtent", {Value("Hello")});
  EXPECT_GT(w.number(extent.object->get("width")), 0);
}

// Attributes convert what scripts store: halves round to even, numbers no
// int holds become the lowest int, margins stop at zero, colours wrap to
// unsigned, an unknown alignment leaves the last one.
TEST(Avm1TextFormat, StoredValuesConvertAsTheAttributeTakesThem) {
  World w;
  Object* f = w.make("TextFormat").object;
  EXPECT_EQ(w.text(f->get("display")), "block");
  const std::pair<double, double> sizes[] = {
      {2.5, 2}, {3.5, 4}, {-2.5, -2}, {NAN, -2147483648.0}, {4294967295.0, -2147483648.0}};
  for (const auto& s : sizes) {
    f->set("size", Value(s.first));
    EXPECT_EQ(w.number(f->get("size")), s.second) << s.first;
  }
  f->set("leftMargin", Value(-3));
  EXPECT_EQ(w.number(f->get("leftMargin")), 0);
  f->set("color", Value(-3));
  EXPECT_EQ(w.number(f->get("color")), 4294967293.0);
  f->set("align", Value("Right"));
  f->set("align", Value("sideways"));
  EXPECT_EQ(w.text(f->get("align")), "right");
  f->set("align", Value());
  EXPECT_TRUE(f->get("align").isNull());
  f->set("letterSpacing", Value(-3.5));
  EXPECT_EQ(w.number(f->get("letterSpacing")), -3.5);
}

}  // namespace
