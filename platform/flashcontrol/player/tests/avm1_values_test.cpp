// The value and object model: conversions per version, the real player's
// number text, property order, flags, accessors, prototypes and arrays.
#include <gtest/gtest.h>

#include <cmath>

#include "avm1/array_object.h"
#include "avm1/number_text.h"
#include "avm1/vm.h"

namespace {

using swf::avm1::Args;
using swf::avm1::ArrayObject;
using swf::avm1::Object;
using swf::avm1::Value;
using swf::avm1::Vm;

TEST(Avm1Numbers, TextHasFifteenDigitsAndExponentsOutsideTheUsualRange) {
  using swf::avm1::formatNumber;
  EXPECT_EQ(formatNumber(0), "0");
  EXPECT_EQ(formatNumber(-0.0), "0");
  EXPECT_EQ(formatNumber(1.5), "1.5");
  EXPECT_EQ(formatNumber(-42), "-42");
  EXPECT_EQ(formatNumber(0.1 + 0.2), "0.3");
  EXPECT_EQ(formatNumber(1.0 / 3), "0.333333333333333");
  EXPECT_EQ(formatNumber(123456789012345.0), "123456789012345");
  EXPECT_EQ(formatNumber(1e15), "1e+15");
  EXPECT_EQ(formatNumber(4503599627370496.0), "4.5035996273705e+15");
  EXPECT_EQ(formatNumber(0.00001), "0.00001");
  EXPECT_EQ(formatNumber(0.0000015), "1.5e-6");
  EXPECT_EQ(formatNumber(1e-9), "1e-9");
  EXPECT_EQ(formatNumber(std::nan("")), "NaN");
  EXPECT_EQ(formatNumber(-HUGE_VAL), "-Infinity");
  EXPECT_EQ(swf::avm1::formatNumberRadix(255, 16), "ff");
  EXPECT_EQ(swf::avm1::formatNumberRadix(-5, 2), "-101");
}

TEST(Avm1Numbers, StringsReadAsNumbersByVersion) {
  using swf::avm1::parseNumber;
  EXPECT_EQ(parseNumber(" 12.5e1 ", 8), 125);
  EXPECT_TRUE(std::isnan(parseNumber(" 12.5e1 ", 6)));  // versions 6 and 7 take no trailing space
  EXPECT_TRUE(std::isnan(parseNumber("12px", 6)));
  EXPECT_EQ(parseNumber("12px", 4), 12);
  EXPECT_EQ(parseNumber("abc", 4), 0);
  EXPECT_TRUE(std::isnan(parseNumber("", 7)));
  EXPECT_EQ(parseNumber("0x1F", 6), 31);
  EXPECT_TRUE(std::isnan(parseNumber("0x1F", 5)));
  EXPECT_EQ(swf::avm1::parseIntPrefix("0x1Fzz", 10, false), 31);
  EXPECT_EQ(swf::avm1::parseIntPrefix("017", 10, false), 15);
  EXPECT_EQ(swf::avm1::parseIntPrefix("019", 10, false), 19);
  EXPECT_TRUE(std::isnan(swf::avm1::parseIntPrefix("z", 10, false)));
  EXPECT_EQ(swf::avm1::parseFloatPrefix("3.25abc"), 3.25);
}

TEST(Avm1Conversions, UndefinedAndStringsDependOnTheVersion) {
  Vm v6(6, nullptr), v7(7, nullptr);
  EXPECT_EQ(v6.toString(Value()), "");
  EXPECT_EQ(v7.toString(Value()), "undefined");
  EXPECT_EQ(v6.toNumber(Value()), 0);
  EXPECT_TRUE(std::isnan(v7.toNumber(Value())));
  // Strings are true by their number before version 7, by their length after.
  EXPECT_FALSE(v6.toBoolean(Value("abc")));
  EXPECT_TRUE(v6.toBoolean(Value("2")));
  EXPECT_TRUE(v7.toBoolean(Value("abc")));
  EXPECT_FALSE(v7.toBoolean(Value("")));
  EXPECT_FALSE(v7.toBoolean(Value(std::nan(""))));
  EXPECT_EQ(swf::avm1::toInt32(4294967297.0), 1);
  EXPECT_EQ(swf::avm1::toInt32(-1.5), -1);
  EXPECT_EQ(swf::avm1::toInt32(2147483648.0), INT32_MIN);
}

TEST(Avm1Conversions, ObjectsConvertThroughValueOfAndToString) {
  Vm vm(7, nullptr);
  Object* o = vm.newObject();
  EXPECT_EQ(vm.toString(Value(o)), "[object Object]");
  vm.defineMethod(o, "valueOf", [](Vm&, const Value&, const Args&) { return Value(5); });
  vm.defineMethod(o, "toString", [](Vm&, const Value&, const Args&) { return Value("five"); });
  EXPECT_EQ(vm.toNumber(Value(o)), 5);
  EXPECT_EQ(vm.toString(Value(o)), "five");
  EXPECT_TRUE(vm.looseEquals(Value(o), Value(5)));
  EXPECT_FALSE(vm.strictEquals(Value(o), Value(5)));
  EXPECT_TRUE(vm.looseEquals(Value(), Value::null()));
  EXPECT_TRUE(vm.looseEquals(Value("1"), Value(true)));
  EXPECT_TRUE(vm.lessThan(Value("10"), Value("9")).boolean);  // both strings: text order
  EXPECT_FALSE(vm.lessThan(Value(10), Value("9")).boolean);
  EXPECT_TRUE(vm.lessThan(Value(std::nan("")), Value(1)).isUndefined());
}

TEST(Avm1Objects, NamesIgnoreCaseBeforeVersionSeven) {
  Vm v6(6, nullptr), v7(7, nullptr);
  Object* a = v6.newObject();
  a->set("Name", Value(1));
  EXPECT_EQ(a->get("NAME").number, 1);
  EXPECT_EQ(a->enumerableNames(), std::vector<std::string>{"Name"});
  Object* b = v7.newObject();
  b->set("Name", Value(1));
  EXPECT_TRUE(b->get("name").isUndefined());
}

TEST(Avm1Objects, EnumerationShowsTheNewestFirstAndInheritedBeforeOwn) {
  Vm vm(7, nullptr);
  Object* base = vm.newObject();
  base->set("inherited", Value(1));
  base->set("shadowed", Value(1));
  Object* o = vm.newObject(base);
  o->set("a", Value(1));
  o->set("b", Value(2));
  o->set("shadowed", Value(3));
  o->set("a", Value(4));  // rewriting keeps the place
  std::vector<std::string> want{"inherited", "shadowed", "b", "a"};
  EXPECT_EQ(o->enumerableNames(), want);
  o->remove("b");
  o->set("b", Value(5));
  want = {"inherited", "b", "shadowed", "a"};
  EXPECT_EQ(o->enumerableNames(), want);
}

TEST(Avm1Objects, FlagsHideProtectAndFreeze) {
  Vm vm(7, nullptr);
  Object* o = vm.newObject();
  o->set("hidden", Value(1));
  o->set("fixed", Value(2));
  o->set("kept", Value(3));
  o->changeFlags("hidden", swf::avm1::DontEnum, 0);
  o->changeFlags("fixed", swf::avm1::ReadOnly, 0);
  o->changeFlags("kept", swf::avm1::DontDelete, 0);
  EXPECT_EQ(o->enumerableNames(), (std::vector<std::string>{"kept", "fixed"}));
  o->set("fixed", Value(9));
  EXPECT_EQ(o->get("fixed").number, 2);
  EXPECT_FALSE(o->remove("kept"));
  EXPECT_TRUE(o->remove("fixed"));
  EXPECT_FALSE(o->remove("absent"));
  o->changeFlags("hidden", 0, swf::avm1::DontEnum);
  EXPECT_EQ(o->enumerableNames().size(), 2u);
  // A version flag hides the property from older movies entirely.
  Vm v5(5, nullptr);
  Object* p = v5.newObject();
  p->define("later", Value(1), swf::avm1::Version6);
  EXPECT_FALSE(p->has("later"));
}

TEST(Avm1Objects, AccessorsRunWithTheReceiverEvenWhenInherited) {
  Vm vm(7, nullptr);
  Object* proto = vm.newObject();
  auto* getter = vm.newFunction([](Vm&, const Value& self, const Args&) { return self.object->get("_v"); });
  auto* setter = vm.newFunction([](Vm&, const Value& self, const Args& a) {
    self.object->set("_v", Value(a[0].number * 2));
    return Value();
  });
  ASSERT_TRUE(proto->addAccessor("v", getter, setter));
  Object* o = vm.newObject(proto);
  o->set("v", Value(4));
  EXPECT_EQ(o->get("v").number, 8);
  EXPECT_FALSE(o->hasOwn("v"));
  EXPECT_TRUE(o->hasOwn("_v"));
  EXPECT_TRUE(proto->get("_v").isUndefined());
  EXPECT_FALSE(proto->addAccessor("w", nullptr, setter));
}

TEST(Avm1Objects, PrototypeCyclesEndTheWalk) {
  Vm vm(7, nullptr);
  Object* a = vm.newObject();
  Object* b = vm.newObject(a);
  a->set("__proto__", Value(b));
  EXPECT_EQ(a->proto(), b);
  EXPECT_TRUE(b->get("missing").isUndefined());
  EXPECT_TRUE(b->enumerableNames().empty());
}

TEST(Avm1Objects, WatchersSeeOldAndNewAndDecideTheValue) {
  Vm vm(7, nullptr);
  Object* o = vm.newObject();
  o->set("x", Value(1));
  auto* cb = vm.newFunction(
      [](Vm&, const Value&, const Args& a) { return Value(a[1].number * 100 + a[2].number * 10 + a[3].number); });
  ASSERT_TRUE(o->watch("x", cb, Value(7)));
  o->set("x", Value(2));
  EXPECT_EQ(o->get("x").number, 127);
  EXPECT_TRUE(o->unwatch("x"));
  o->set("x", Value(3));
  EXPECT_EQ(o->get("x").number, 3);
}

TEST(Avm1Objects, ArrayLengthFollowsIndexesAndCutsElements) {
  Vm vm(7, nullptr);
  ArrayObject* a = vm.newArray({Value(1), Value(2)});
  EXPECT_EQ(a->length(), 2u);
  a->set("5", Value("x"));
  EXPECT_EQ(a->length(), 6u);
  a->set("05", Value("not an index"));
  EXPECT_EQ(a->length(), 6u);
  a->set("length", Value(1));
  EXPECT_TRUE(a->get("5").isUndefined());
  EXPECT_EQ(a->get("0").number, 1);
  EXPECT_TRUE(a->hasOwn("length"));
  EXPECT_EQ(a->enumerableNames(), (std::vector<std::string>{"05", "0"}));
}

TEST(Avm1Objects, UnreachableObjectsAreCollected) {
  Vm vm(7, nullptr);
  size_t base = vm.heapSize();
  Object* kept = vm.newObject();
  Object* cycleA = vm.newObject();
  Object* cycleB = vm.newObject(cycleA);
  cycleA->set("b", Value(cycleB));
  vm.global()->set("kept", Value(kept));
  vm.collect({});
  EXPECT_EQ(vm.heapSize(), base + 1);
  EXPECT_EQ(vm.global()->get("kept").object, kept);
}

}  // namespace
