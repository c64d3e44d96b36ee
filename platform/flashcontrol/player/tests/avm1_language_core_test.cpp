// Core language rules: for..in order along the prototype chain, the value
// ending Enumerate's names, super's __proto__, string positions taken as
// 32-bit integers, byte string actions reading UTF-16 units from version 6,
// numbers read from octal and hex text, calls of isNaN and Boolean with
// nothing.
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "action_steps.h"
#include "avm1/number_text.h"
#include "avm1/script_function.h"
#include "avm1_builtin_support.h"
#include "text/case_fold.h"
#include "swf_builder.h"
#include "timeline/movie.h"
#include "timeline/stage.h"

namespace {

using namespace avm1test;
using namespace playertest;

TEST(Avm1LanguageCore, ForInTakesThePrototypesNamesBeforeTheObjectsOwn) {
  World w(6);
  Value base(w.vm.newObject());
  base.object->set("a", Value(1));
  base.object->set("shared", Value(2));
  Value derived(w.vm.newObject(base.object));
  derived.object->set("shared", Value(3));
  derived.object->set("own", Value(4));
  // Newest first on each level; a name shadowed below is listed once, at the object.
  EXPECT_EQ(derived.object->enumerableNames(), (std::vector<std::string>{"a", "own", "shared"}));
  // A hidden own name still hides the prototype's.
  w.call(Value(w.vm.global()), "ASSetPropFlags", {derived, Value("shared"), Value(1)});
  EXPECT_EQ(derived.object->enumerableNames(), (std::vector<std::string>{"a", "own"}));
}

TEST(Avm1LanguageCore, EnumerateEndsItsNamesWithUndefinedEvenForNoObject) {
  ActionBuilder a;
  a.push({PushValue::null()}).action(Code::Enumerate2).action(Code::TypeOf).action(Code::Trace);
  a.push({i32(5)}).action(Code::Enumerate2).action(Code::TypeOf).action(Code::Trace);
  EXPECT_EQ(traced(6, a), (std::vector<std::string>{"undefined", "undefined"}));
}

TEST(Avm1LanguageCore, SuperReadsThePrototypeOfWhatItStandsFor) {
  World w(6);
  swf::avm1::Object* grand = w.vm.newObject();
  swf::avm1::Object* parent = w.vm.newObject(grand);
  auto* super = w.vm.make<swf::avm1::SuperObject>(parent, Value());
  EXPECT_EQ(super->get("__proto__").asObject(), grand);
  // One below Object.prototype there is nothing.
  auto* top = w.vm.make<swf::avm1::SuperObject>(w.vm.objectPrototype(), Value());
  EXPECT_TRUE(top->get("__proto__").isUndefined());
}

TEST(Avm1LanguageCore, StringPositionsWrapAsThirtyTwoBitIntegers) {
  World w(6);
  Value s("Hello test test");
  EXPECT_EQ(w.text(w.call(s, "charAt", {Value(4294967297.0)})), "e");
  EXPECT_EQ(w.number(w.call(s, "indexOf", {Value("test"), Value(4294967300.0)})), 6);
  EXPECT_EQ(w.number(w.call(s, "lastIndexOf", {Value("test"), Value(4294967306.0)})), 6);
  EXPECT_EQ(w.text(w.call(s, "slice", {Value(4294967296.0), Value(4294967298.0)})), "He");
  EXPECT_EQ(w.text(w.call(s, "substr", {Value(4294967296.0), Value(-4294967294.0)})), "He");
  EXPECT_EQ(w.text(w.call(s, "substring", {Value(4294967296.0), Value(-4294967294.0)})), "He");
  // An undefined end of lastIndexOf searches the whole text; null is 0.
  EXPECT_EQ(w.number(w.call(s, "lastIndexOf", {Value("test"), Value()})), 11);
  EXPECT_EQ(w.number(w.call(s, "lastIndexOf", {Value("test"), Value::null()})), -1);
}

TEST(Avm1LanguageCore, StringSearchesAndCutsWithoutArgumentsGiveUndefined) {
  World w(6);
  Value s("abc");
  for (const char* method : {"indexOf", "lastIndexOf", "substr", "substring"}) {
    EXPECT_TRUE(w.call(s, method).isUndefined()) << method;
  }
}

TEST(Avm1LanguageCore, BeforeVersion6SplitWithoutSeparatorCutsAtCommasAndCharCodeAtPastTheEndIsZero) {
  World v5(5);
  Value s("a,,b");
  EXPECT_EQ(v5.number(v5.call(s, "split").object->get("length")), 3);
  EXPECT_EQ(v5.number(v5.call(s, "split", {Value()}).object->get("length")), 3);
  EXPECT_EQ(v5.number(v5.call(s, "charCodeAt", {Value(4)})), 0);
  EXPECT_TRUE(std::isnan(v5.number(v5.call(s, "charCodeAt", {Value(-1)}))));
  World v6(6);
  EXPECT_EQ(v6.number(v6.call(s, "split").object->get("length")), 1);
  EXPECT_TRUE(std::isnan(v6.number(v6.call(s, "charCodeAt", {Value(4)}))));
}

TEST(Avm1LanguageCore, FromVersion6ByteStringActionsCountUnits) {
  const std::string text =
      "\xE6\x84\x9B"
      "ab";  // one unit of three bytes, then two
  ActionBuilder a;
  a.push(str(text)).action(Code::StringLength).action(Code::Trace);
  a.push(str(text)).action(Code::CharToAscii).action(Code::Trace);
  a.push({str(text), i32(1), i32(2)}).action(Code::StringExtract).action(Code::Trace);
  // A negative count takes the rest; positions wrap as 32-bit integers.
  a.push({str(text), PushValue::number(4294967298.0), i32(-5)}).action(Code::StringExtract).action(Code::Trace);
  a.push(i32(0x10041)).action(Code::AsciiToChar).action(Code::Trace);
  EXPECT_EQ(traced(6, a), (std::vector<std::string>{"3", "24859",
                                                    "\xE6\x84\x9B"
                                                    "a",
                                                    "ab", "A"}));
  std::vector<std::string> v5 = traced(5, a);
  ASSERT_EQ(v5.size(), 5u);
  EXPECT_EQ(v5[0], "5");
  EXPECT_EQ(v5[1], "230");
}

TEST(Avm1LanguageCore, HalfASurrogatePairIsNoCharacter) {
  ActionBuilder a;
  a.push(str("\xF0\x9F\x98\x8B")).action(Code::CharToAscii).action(Code::Trace);  // U+1F60B
  // A lone half reaches the log as the replacement character.
  a.push(i32(0xD801)).action(Code::AsciiToChar).action(Code::Trace);
  a.push({str("\xF0\x9F\x98\x8B"), i32(1), i32(1)}).action(Code::StringExtract).action(Code::Trace);
  EXPECT_EQ(traced(6, a), (std::vector<std::string>{"65533", "\xEF\xBF\xBD", "\xEF\xBF\xBD"}));
}

TEST(Avm1LanguageCore, OctalAndHexTextWrapsToThirtyTwoBits) {
  using swf::avm1::parseNumber;
  EXPECT_EQ(parseNumber("037777777777", 6), -1);
  EXPECT_EQ(parseNumber("-037777777777", 6), 1);
  EXPECT_EQ(parseNumber("+010", 6), 8);
  EXPECT_EQ(parseNumber("-010", 7), -8);
  // White space before makes it decimal.
  EXPECT_EQ(parseNumber(" -010", 6), -10);
  EXPECT_EQ(parseNumber("0x1999999981ffffff", 6), -2113929217);
  // Octal and hex are version 6 text; before, "010" is ten.
  EXPECT_EQ(parseNumber("010", 5), 10);
}

TEST(Avm1LanguageCore, TrailingSpaceEndsANumberOnlyInVersions6And7) {
  using swf::avm1::parseNumber;
  EXPECT_TRUE(std::isnan(parseNumber("5 ", 6)));
  EXPECT_TRUE(std::isnan(parseNumber("12\r", 7)));
  EXPECT_EQ(parseNumber(" \t 12", 7), 12);
  EXPECT_EQ(parseNumber("5 ", 8), 5);
  EXPECT_EQ(parseNumber("5 ", 5), 5);
}

TEST(Avm1LanguageCore, IsNaNAndBooleanCalledWithNothing) {
  World w(6);
  Value g(w.vm.global());
  EXPECT_TRUE(w.vm.toBoolean(w.call(g, "isNaN")));
  // Before version 7 undefined is 0, so passing it is a number.
  EXPECT_FALSE(w.vm.toBoolean(w.call(g, "isNaN", {Value()})));
  EXPECT_TRUE(w.call(g, "Boolean").isUndefined());
  EXPECT_FALSE(w.call(g, "Boolean", {Value()}).boolean);
  EXPECT_TRUE(w.call(g, "Boolean", {Value(2)}).boolean);
}

TEST(Avm1LanguageCore, ACountPastTheStackMakesNoArrayAndTakesNothing) {
  ActionBuilder a;
  a.push({str("a"), str("b"), i32(3)})
      .action(Code::InitArray)
      .action(Code::Trace)
      .action(Code::Trace)
      .action(Code::Trace);
  a.push({str("a"), str("b"), i32(2)}).action(Code::InitArray).action(Code::Trace);
  EXPECT_EQ(traced(8, a), (std::vector<std::string>{"undefined", "b", "a", "b,a"}));
}

TEST(Avm1LanguageCore, Version6FoldsLettersBeyondAsciiInNames) {
  World v6(6);
  Value o(v6.vm.newObject());
  o.object->set("\xC3\x84", Value("umlaut"));                    // Ä
  o.object->set("\xC7\xB3\xC7\xB2\xC7\xB1", Value("digraphs"));  // dz in lower, title and upper forms
  EXPECT_EQ(v6.text(o.object->get("\xC3\xA4")), "umlaut");
  EXPECT_EQ(v6.text(o.object->get("\xC7\xB1\xC7\xB1\xC7\xB1")), "digraphs");
  // Letters of later Unicode versions keep their case.
  o.object->set("\xC8\xBA", Value("late"));  // U+023A, lowercase U+2C65
  EXPECT_TRUE(o.object->get("\xE2\xB1\xA5").isUndefined());
  // Version 5 text is bytes: only ASCII folds.
  World v5(5);
  Value p(v5.vm.newObject());
  p.object->set("\xC3\x84", Value(1));
  EXPECT_TRUE(p.object->get("\xC3\xA4").isUndefined());
}

TEST(Avm1LanguageCore, CaseFoldingKeepsWhatIsNoLetterOrNoUtf8) {
  EXPECT_EQ(swf::foldCase("\xD0\x81\xD0\x96\xCE\x91"), "\xD1\x91\xD0\xB6\xCE\xB1");  // Ё Ж Α
  EXPECT_EQ(swf::foldCase("\xC3\x97"), "\xC3\x97");                                  // × has no case
  EXPECT_EQ(swf::foldCase("A\xC4"
                          "B"),
            "a\xC4"
            "b");                            // a lone lead byte
  EXPECT_EQ(swf::foldCase("\xC3"), "\xC3");  // cut short
  EXPECT_EQ(swf::foldCase("\xF0\x9F\x98\x8B"), "\xF0\x9F\x98\x8B");
  EXPECT_EQ(swf::foldedCodePoint(0x130), uint32_t('i'));
  EXPECT_EQ(swf::foldedCodePoint(0x178), 0xFFu);
}

// The names a for..in loop over `a` visits, joined.
std::string forInOrder(World& w, const Value& a) {
  std::string out;
  for (const std::string& n : a.object->enumerableNames()) out += n + ",";
  return out;
}

Value arrayOf(World& w, std::initializer_list<int> items) {
  Value a(w.make("Array"));
  for (int v : items) w.call(a, "push", {Value(v)});
  return a;
}

TEST(Avm1LanguageCore, ReverseWritesEachPairAnewAndLeavesTheMiddle) {
  World w(8);
  Value a = arrayOf(w, {1, 2, 3, 4, 5});
  EXPECT_EQ(forInOrder(w, a), "4,3,2,1,0,");
  w.call(a, "reverse");
  EXPECT_EQ(w.text(a), "5,4,3,2,1");
  EXPECT_EQ(forInOrder(w, a), "3,1,4,0,2,");
  // A hole swapped with an element becomes an undefined element.
  Value holes(w.make("Array"));
  holes.object->set("2", Value(7));
  w.call(holes, "reverse");
  EXPECT_EQ(forInOrder(w, holes), "2,0,");
  EXPECT_EQ(w.text(holes), "7,undefined,undefined");
}

TEST(Avm1LanguageCore, ReverseAndUnshiftKeepUndeletableElementsInPlace) {
  World w(8);
  Value a = arrayOf(w, {1, 2, 3, 4, 5});
  w.call(Value(w.vm.global()), "ASSetPropFlags", {a, Value("0"), Value(2)});  // 0 cannot be deleted
  w.call(a, "reverse");
  EXPECT_EQ(forInOrder(w, a), "3,1,4,2,0,");
  Value b = arrayOf(w, {1, 2, 3});
  w.call(Value(w.vm.global()), "ASSetPropFlags", {b, Value("1"), Value(2 | 4)});  // 1 fixed and read-only
  EXPECT_EQ(w.number(w.call(b, "unshift", {Value(42)})), 4);
  EXPECT_EQ(forInOrder(w, b), "0,2,3,1,");
  EXPECT_EQ(w.text(b), "42,2,2,3");
}

TEST(Avm1LanguageCore, UnshiftMovesElementsFromTheTopDown) {
  World w(8);
  Value a(w.make("Array"));
  a.object->set("1", Value(9));
  EXPECT_EQ(w.number(w.call(a, "unshift", {Value(42), Value(43)})), 4);
  EXPECT_EQ(w.text(a), "42,43,undefined,9");
  EXPECT_EQ(forInOrder(w, a), "1,0,2,3,");
}

// A movie defining f (DefineFunction2 with `flags`, two registers) that
// traces r1 and the variable "this", then calls f().
ActionBuilder callingThisProbe(uint8_t flags) {
  ActionBuilder body, a;
  body.push(PushValue::registerNumber(1)).action(Code::Trace);
  body.push(str("this")).action(Code::GetVariable).action(Code::Trace);
  defineFunction2(a, "f", 2, flags, {}, body);
  a.push({i32(0), str("f")}).action(Code::CallFunction).action(Code::Pop);
  return a;
}

TEST(Avm1LanguageCore, AThisKeptInARegisterHasNoName) {
  // Version 5 gives a plain call its timeline as `this`, register included.
  EXPECT_EQ(traced(5, callingThisProbe(0x01)), (std::vector<std::string>{"_level0", "undefined"}));
  // Suppressed: no register and no name.
  EXPECT_EQ(traced(5, callingThisProbe(0x02)), (std::vector<std::string>{"undefined", "undefined"}));
  // Neither preloaded nor suppressed: the name stays.
  EXPECT_EQ(traced(5, callingThisProbe(0x00)), (std::vector<std::string>{"undefined", "_level0"}));
}

TEST(Avm1LanguageCore, PowWithAMissingOperandUsesNaN) {
  World w(6);
  Value math = w.global("Math");
  EXPECT_EQ(w.number(w.call(math, "pow", {Value(true)})), 1);  // 1 to any power
  EXPECT_TRUE(std::isnan(w.number(w.call(math, "pow", {Value(2)}))));
  EXPECT_TRUE(std::isnan(w.number(w.call(math, "pow"))));
  EXPECT_EQ(w.number(w.call(math, "pow", {Value(2), Value()})), 1);  // undefined is 0 in version 6
}

// Pushes an anonymous function tracing `line` and returning `result`.
void pushTracingFunction(ActionBuilder& a, const std::string& line, const PushValue& result) {
  ActionBuilder body;
  body.push(str(line)).action(Code::Trace).push(result).action(Code::Return);
  defineFunction2(a, "", 1, 0, {}, body);
}

// o = {valueOf: traces "number", gives 1; toString: traces "text", gives "x"}.
ActionBuilder withConvertible() {
  ActionBuilder a;
  a.push({str("o"), str("valueOf")});
  pushTracingFunction(a, "number", i32(1));
  a.push(str("toString"));
  pushTracingFunction(a, "text", str("x"));
  a.push(i32(2)).action(Code::InitObject).action(Code::SetVariable);
  return a;
}

ActionBuilder& pushO(ActionBuilder& a) { return a.push(str("o")).action(Code::GetVariable); }

TEST(Avm1LanguageCore, StartDragConvertsItsOperandsInTurnAndTheRectangleOnlyForFlag1) {
  ActionBuilder a = withConvertible();
  for (int i = 0; i < 4; ++i) pushO(a);
  pushO(a);  // constrain: 1
  pushO(a);  // lock to center
  pushO(a).action(Code::StartDrag);
  EXPECT_EQ(traced(8, a),
            (std::vector<std::string>{"text", "number", "number", "number", "number", "number", "number"}));
  ActionBuilder b = withConvertible();
  b.push(i32(7));
  pushO(b);
  pushO(b).action(Code::StartDrag);
  EXPECT_EQ(traced(8, b), (std::vector<std::string>{"text", "number"}));
}

TEST(Avm1LanguageCore, SetPropertyConvertsTheValueAfterTheTargetUnlessItIsReadOnlyText) {
  auto run = [](int index) {
    ActionBuilder a = withConvertible();
    pushO(a).push(i32(index));
    pushO(a).action(Code::SetProperty);
    return traced(8, a);
  };
  EXPECT_EQ(run(0), (std::vector<std::string>{"text", "number"}));  // _x
  EXPECT_EQ(run(13), (std::vector<std::string>{"text", "text"}));   // _name
  EXPECT_EQ(run(15), (std::vector<std::string>{"text"}));           // _url
}

TEST(Avm1LanguageCore, SetTarget2NamesAPlainObjectsTargetByItsText) {
  ActionBuilder a = withConvertible();
  pushO(a).action(Code::SetTarget2);
  a.push(str("after")).action(Code::Trace);
  EXPECT_EQ(traced(8, a), (std::vector<std::string>{"text", "after"}));
}

}  // namespace
