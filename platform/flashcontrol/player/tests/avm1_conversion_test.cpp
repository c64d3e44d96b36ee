// How objects become primitives, numbers and text as the real player asks
// them: which of valueOf and toString runs, what an object result or a
// missing method gives, and how ==, < and number texts follow from that.
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "avm1/number_text.h"
#include "avm1/vm.h"
#include "avm1_builtin_support.h"

namespace {

using namespace avm1test;

// An object whose valueOf and toString log their calls and return the
// given values (an undefined "self" slot returns the object itself).
struct Probe {
  Probe(Vm& vm, Value valueOfResult, Value toStringResult, bool selfResults = false) {
    object = vm.newObject();
    auto method = [this, selfResults](const char* tag, Value result) {
      return [this, tag, result, selfResults](Vm&, const Value& self, const Args&) -> Value {
        calls.push_back(tag);
        return selfResults ? self : result;
      };
    };
    object->set("valueOf", Value(vm.newFunction(method("valueOf", valueOfResult))));
    object->set("toString", Value(vm.newFunction(method("toString", toStringResult))));
  }
  Object* object;
  std::vector<std::string> calls;
};

TEST(Avm1Conversions, ANumberAsksValueOfAloneAndAnObjectResultIsNaN) {
  World w(7);
  Probe selfish(w.vm, Value(), Value("5"), true);
  EXPECT_TRUE(std::isnan(w.vm.toNumber(Value(selfish.object))));
  EXPECT_EQ(selfish.calls, (std::vector<std::string>{"valueOf"}));
  Probe plain(w.vm, Value("12"), Value("5"));
  EXPECT_EQ(w.vm.toNumber(Value(plain.object)), 12);
  // No valueOf at all: undefined, 0 in version 6 and NaN from version 7.
  Object* bare = w.vm.newObject(nullptr);
  EXPECT_TRUE(std::isnan(w.vm.toNumber(Value(bare))));
  World w6(6);
  EXPECT_EQ(w6.vm.toNumber(Value(w6.vm.newObject(nullptr))), 0);
}

TEST(Avm1Conversions, TextAsksToStringAloneAndAcceptsOnlyAString) {
  World w(7);
  Probe number(w.vm, Value("v"), Value(4.0));
  EXPECT_EQ(w.vm.toString(Value(number.object)), "[type Object]");
  EXPECT_EQ(number.calls, (std::vector<std::string>{"toString"}));
  Probe text(w.vm, Value(1.0), Value("fine"));
  EXPECT_EQ(w.vm.toString(Value(text.object)), "fine");
  Object* noToString = w.vm.newObject();
  noToString->set("toString", Value());
  EXPECT_EQ(w.vm.toString(Value(noToString)), "[type Object]");
  // A String object is its own text whatever toString says.
  Object* boxed = w.vm.toObject(Value("abc"));
  boxed->set("toString", Value(w.vm.newFunction([](Vm&, const Value&, const Args&) -> Value { return Value("x"); })));
  EXPECT_EQ(w.vm.toString(Value(boxed)), "abc");
}

TEST(Avm1Conversions, APrimitiveWithoutHintLeavesAnObjectResultToTheCaller) {
  World w(7);
  Probe selfish(w.vm, Value(), Value(), true);
  Value p = w.vm.toPrimitive(Value(selfish.object));
  ASSERT_TRUE(p.isObject());
  EXPECT_EQ(p.object, selfish.object);
  EXPECT_TRUE(w.vm.toPrimitive(Value(w.vm.newObject(nullptr))).isUndefined());
  // _global inherits nothing, so it has no primitive either.
  EXPECT_EQ(w.vm.global()->proto(), nullptr);
  EXPECT_TRUE(w.vm.toPrimitive(Value(w.vm.global())).isUndefined());
}

TEST(Avm1Conversions, EqualityMeetsObjectsThroughValueOf) {
  World w(7);
  Object* bare = w.vm.newObject(nullptr);
  EXPECT_TRUE(w.vm.looseEquals(Value(bare), Value()));
  EXPECT_TRUE(w.vm.looseEquals(Value::null(), Value(bare)));
  EXPECT_FALSE(w.vm.looseEquals(Value(w.vm.newObject()), Value()));
  Probe date(w.vm, Value(3.0), Value("3"));
  EXPECT_TRUE(w.vm.looseEquals(Value(date.object), Value(3.0)));
  EXPECT_EQ(date.calls, (std::vector<std::string>{"valueOf"}));
  Probe selfish(w.vm, Value(), Value("hi"), true);
  EXPECT_FALSE(w.vm.looseEquals(Value(selfish.object), Value("hi")));
  // Version 5 converts an object that stays one a second time.
  World w5(5);
  Probe old(w5.vm, Value(), Value("hi"), true);
  EXPECT_FALSE(w5.vm.looseEquals(Value(old.object), Value("hi")));
  EXPECT_EQ(old.calls, (std::vector<std::string>{"valueOf", "valueOf"}));
  EXPECT_TRUE(w5.vm.looseEquals(Value(old.object), Value(old.object)));
}

TEST(Avm1Conversions, AnObjectOperandOfLessMakesItFalseAtOnce) {
  World w(6);
  Probe selfish(w.vm, Value(), Value(), true);
  Probe one(w.vm, Value(1.0), Value("1"));
  Value r = w.vm.lessThan(Value(selfish.object), Value(one.object));
  ASSERT_EQ(r.type, Value::Type::Bool);
  EXPECT_FALSE(r.boolean);
  EXPECT_TRUE(one.calls.empty());
  r = w.vm.lessThan(Value(one.object), Value(2.0));
  EXPECT_TRUE(r.boolean);
  // Missing valueOf is undefined: 0 in version 6.
  EXPECT_TRUE(w.vm.lessThan(Value(w.vm.newObject(nullptr)), Value(1.0)).boolean);
  EXPECT_TRUE(w.vm.lessThan(Value(std::nan("")), Value(1.0)).isUndefined());
}

TEST(Avm1Numbers, HexAndOctalCountOnlyAtTheVeryStart) {
  using swf::avm1::parseNumber;
  EXPECT_EQ(parseNumber("0x-2", 6), -2);
  EXPECT_TRUE(std::isnan(parseNumber(" 0x2", 6)));
  EXPECT_TRUE(std::isnan(parseNumber("-0x2", 6)));
  EXPECT_TRUE(std::isnan(parseNumber("0x2.1", 6)));
  EXPECT_EQ(parseNumber("030", 6), 24);
  EXPECT_EQ(parseNumber("030", 5), 30);
  EXPECT_EQ(parseNumber(" 030", 6), 30);
  EXPECT_EQ(parseNumber("030912", 6), 30912);
  EXPECT_DOUBLE_EQ(parseNumber("030.12", 6), 30.12);
}

TEST(Avm1Numbers, ParseIntRadixAndPrefixRules) {
  using swf::avm1::parseIntPrefix;
  EXPECT_EQ(parseIntPrefix("0x2", 10, true), 2);  // "0x" skipped whatever the radix
  EXPECT_EQ(parseIntPrefix("0x100", 36, true), 1296);
  EXPECT_EQ(parseIntPrefix("0x -100", 10, false), -256);
  EXPECT_TRUE(std::isnan(parseIntPrefix("-0x2", 10, false)));
  EXPECT_EQ(parseIntPrefix("-0x100", 36, true), 1540944);  // sign and zero skipped, "x" a digit
  EXPECT_EQ(parseIntPrefix(" 0x2", 16, true), 0);
  EXPECT_EQ(parseIntPrefix("  -0x10zz", 10, false), 0);
  EXPECT_EQ(parseIntPrefix("-0100", 10, false), -64);
  EXPECT_EQ(parseIntPrefix("030.12", 10, false), 30);
  EXPECT_EQ(parseIntPrefix(" 030", 10, false), 30);
  EXPECT_TRUE(std::isnan(parseIntPrefix("100", 0, true)));
  EXPECT_TRUE(std::isnan(parseIntPrefix("0x12", 37, true)));
}

}  // namespace
