// Built-ins at their edges as the real player answers them: Math's
// argument conversions, String.substr and slice, parseInt/parseFloat with
// nothing, Date's time values, ASnative, what version 5 hides, and trace
// text before version 6.
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "avm1_builtin_support.h"

namespace {

using namespace avm1test;

// An object whose valueOf logs `tag` and gives n.
Value counted(World& w, std::vector<std::string>& log, const std::string& tag, double n) {
  Object* o = w.vm.newObject();
  o->set("valueOf", Value(w.vm.newFunction([&log, tag, n](Vm&, const Value&, const Args&) -> Value {
           log.push_back(tag);
           return Value(n);
         })));
  return Value(o);
}

TEST(Avm1BuiltinEdges, MathConvertsArgumentsInOrderAndASecondOneToo) {
  World w(7);
  std::vector<std::string> log;
  Value math = w.global("Math");
  w.call(math, "atan2", {counted(w, log, "y", 1), counted(w, log, "x", 1)});
  w.call(math, "abs", {Value(-2.0), counted(w, log, "extra", 0)});
  w.call(math, "random", {counted(w, log, "r1", 0), counted(w, log, "r2", 0), counted(w, log, "r3", 0)});
  w.call(math, "pow", {counted(w, log, "base", 2), counted(w, log, "exp", 3)});
  EXPECT_EQ(log, (std::vector<std::string>{"y", "x", "extra", "r1", "r2", "base", "exp"}));
  EXPECT_TRUE(std::isnan(w.number(w.call(math, "pow", {Value(HUGE_VAL), Value(0.4)}))));
  EXPECT_TRUE(std::isnan(w.number(w.call(math, "pow", {Value(-HUGE_VAL), Value(0.4)}))));
  EXPECT_EQ(w.number(w.call(math, "pow", {Value(HUGE_VAL), Value(2.0)})), HUGE_VAL);
  EXPECT_EQ(w.number(w.call(math, "pow", {Value(0.4), Value(-HUGE_VAL)})), HUGE_VAL);
}

TEST(Avm1BuiltinEdges, SubstrCountsANegativeLengthFromTheEnd) {
  World w(7);
  Value s("ABCDEF");
  auto substr = [&](double start, double len) { return w.text(w.call(s, "substr", {Value(start), Value(len)})); };
  EXPECT_EQ(substr(-10, -5), "A");
  EXPECT_EQ(substr(-10, -1), "ABCDE");
  EXPECT_EQ(substr(-10, -6), "");
  EXPECT_EQ(substr(-5, -5), "B");
  EXPECT_EQ(substr(-5, -2), "BCDE");
  EXPECT_EQ(substr(-5, -1), "");  // would reach the last unit
  EXPECT_EQ(substr(-4, -3), "CDE");
  EXPECT_EQ(substr(1, 10), "BCDEF");
  EXPECT_TRUE(w.call(s, "slice", {}).isUndefined());
  EXPECT_EQ(w.text(w.call(s, "slice", {Value(-2.0)})), "EF");
}

TEST(Avm1BuiltinEdges, ParseFunctionsWithoutArgumentsGiveUndefined) {
  World w(7);
  Object* g = w.vm.global();
  EXPECT_TRUE(w.call(Value(g), "parseInt", {}).isUndefined());
  EXPECT_TRUE(w.call(Value(g), "parseFloat", {}).isUndefined());
  EXPECT_TRUE(std::isnan(w.number(w.call(Value(g), "parseInt", {Value("100"), Value()}))));
  EXPECT_EQ(w.number(w.call(Value(g), "parseInt", {Value("030")})), 24);
  EXPECT_EQ(w.number(w.call(Value(g), "parseInt", {Value("0x10"), Value(10.0)})), 10);
}

TEST(Avm1BuiltinEdges, UnescapeDropsBrokenEscapesWithTheCharacterThatEndsThem) {
  World w(8);
  auto unescape = [&](const char* s) { return w.text(w.call(Value(w.vm.global()), "unescape", {Value(s)})); };
  EXPECT_EQ(unescape("Hello+World%21"), "Hello World!");
  EXPECT_EQ(unescape("aaa%"), "aaa");
  EXPECT_EQ(unescape("aaa%zz"), "aaaz");
  EXPECT_EQ(unescape("aaa%4zz"), "aaaz");
  EXPECT_EQ(unescape("%u0100"), "0100");
  EXPECT_EQ(unescape("%%"), "");
  EXPECT_EQ(unescape("%_a%@b%.c%41"), "abcA");
}

TEST(Avm1BuiltinEdges, DateKeepsAGivenTimesFractionAndSetTimeOfNothingIsInvalid) {
  World w(7);
  Value d = w.make("Date", {Value(1239752134235.94)});
  EXPECT_DOUBLE_EQ(w.number(w.call(d, "getTime")), 1239752134235.94);
  w.call(d, "setTime", {Value(0.5)});
  EXPECT_EQ(w.number(w.call(d, "getTime")), 0);
  w.call(d, "setTime", {});
  EXPECT_TRUE(std::isnan(w.number(w.call(d, "getTime"))));
  // null is a number as the version reads it: 0 in version 6.
  World w6(6);
  Value d6 = w6.make("Date", {Value(5.0)});
  w6.call(d6, "setTime", {Value::null()});
  EXPECT_EQ(w6.number(w6.call(d6, "getTime")), 0);
  w6.call(d6, "setTime", {Value()});
  EXPECT_TRUE(std::isnan(w6.number(w6.call(d6, "getTime"))));
  EXPECT_TRUE(std::isnan(w.number(w.make("Date", {Value(9e15)}))));
}

TEST(Avm1BuiltinEdges, ASnativeReachesMembersTheMovieCannotSee) {
  World w5(5);
  Value hasOwn = w5.call(Value(w5.vm.global()), "ASnative", {Value(101.0), Value(5.0)});
  ASSERT_TRUE(hasOwn.isObject());
  EXPECT_TRUE(w5.global("Object.prototype.hasOwnProperty").isUndefined());  // hidden in version 5
  Object* o = w5.vm.newObject();
  o->set("k", Value(1.0));
  Value r = w5.vm.call(hasOwn, Value(o), {Value("k")});
  EXPECT_TRUE(r.boolean);
  EXPECT_FALSE(w5.vm.call(hasOwn, Value(o), {}).boolean);
  World w7(7);
  Value abs = w7.call(Value(w7.vm.global()), "ASnative", {Value(200.0), Value(0.0)});
  EXPECT_EQ(abs.object, w7.global("Math.abs").object);
  EXPECT_TRUE(w7.call(Value(w7.vm.global()), "ASnative", {Value(999.0), Value(0.0)}).isUndefined());
  EXPECT_TRUE(w7.call(Value(w7.vm.global()), "ASnative", {Value(101.0), Value(40.0)}).isUndefined());
}

TEST(Avm1BuiltinEdges, Version5HidesFunctionAndFunctionsPrototypeLinks) {
  World w5(5), w6(6);
  EXPECT_TRUE(w5.global("Function").isUndefined());
  EXPECT_TRUE(w6.global("Function").isObject());
  Value f5 = w5.global("Math.abs");
  EXPECT_TRUE(f5.object->get("__proto__").isUndefined());
  EXPECT_TRUE(w6.global("Math.abs").object->get("__proto__").isObject());
  // Plain objects keep theirs.
  EXPECT_TRUE(w5.vm.newObject()->get("__proto__").isObject());
}

TEST(Avm1BuiltinEdges, TraceTextBeforeVersion6IsLatin1) {
  World w5(5), w6(6);
  const std::string utf8 = "\xC3\xA4";  // "ä" as the movie's bytes
  w5.vm.trace(utf8);
  w6.vm.trace(utf8);
  EXPECT_EQ(w5.host.lines, (std::vector<std::string>{"\xC3\x83\xC2\xA4"}));
  EXPECT_EQ(w6.host.lines, (std::vector<std::string>{utf8}));
}

}  // namespace
