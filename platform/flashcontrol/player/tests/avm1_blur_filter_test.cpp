// flash.filters.BlurFilter: defaults, the ranges its members are held to
// (NaN kept), and a call without `new` changing nothing.
#include <gtest/gtest.h>

#include <cmath>

#include "avm1_builtin_support.h"

namespace {

using namespace avm1test;

double member(World& w, const Value& f, const char* name) { return w.number(f.object->get(name)); }

TEST(Avm1BlurFilter, DefaultsAndRanges) {
  World w;
  Value f = w.make("flash.filters.BlurFilter", {});
  ASSERT_TRUE(f.isObject());
  EXPECT_EQ(member(w, f, "blurX"), 4);
  EXPECT_EQ(member(w, f, "quality"), 1);
  Value g = w.make("flash.filters.BlurFilter", {Value(255.125), Value(-0.2), Value(15.9)});
  EXPECT_EQ(member(w, g, "blurX"), 255);
  EXPECT_EQ(member(w, g, "blurY"), 0);
  EXPECT_EQ(member(w, g, "quality"), 15);
  g.object->set("blurX", Value(2.5));
  g.object->set("quality", Value(INFINITY));
  EXPECT_EQ(member(w, g, "blurX"), 2.5);
  EXPECT_EQ(member(w, g, "quality"), 0);
  Value h = w.make("flash.filters.BlurFilter", {Value(), Value(), Value()});
  EXPECT_TRUE(std::isnan(member(w, h, "blurX")));
  EXPECT_EQ(member(w, h, "quality"), 0);
}

TEST(Avm1BlurFilter, CloneCopiesAndAPlainCallChangesNothing) {
  World w;
  Value f = w.make("flash.filters.BlurFilter", {Value(1), Value(2), Value(3)});
  Value copy = w.call(f, "clone");
  ASSERT_TRUE(copy.isObject());
  EXPECT_NE(copy.object, f.object);
  EXPECT_EQ(member(w, copy, "blurY"), 2);
  w.call(w.global("flash.filters.BlurFilter"), "apply", {f});
  EXPECT_EQ(member(w, f, "blurX"), 1);
  EXPECT_EQ(member(w, f, "quality"), 3);
  Value base = w.global("flash.filters.BitmapFilter");
  EXPECT_TRUE(w.vm.instanceOf(f, base.asObject()));
}

}  // namespace
