// Action-level rules of the core language, run through whole movies:
// Try's flags and stack, version 4 truth and its functions, `this` of a
// version 5 function, DefineFunction2's registers, prototypes.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "swf_builder.h"
#include "timeline/movie.h"
#include "timeline/stage.h"

namespace {

using mvqtest::ActionBuilder;
using mvqtest::Bytes;
using mvqtest::PushValue;
using mvqtest::SwfBuilder;

enum : uint8_t {
  kAdd2 = 0x47,
  kCallFunction = 0x3D,
  kDelete = 0x3A,
  kDivide = 0x0D,
  kEquals2 = 0x49,
  kGetVariable = 0x1C,
  kPop = 0x17,
  kSetVariable = 0x1D,
  kThrow = 0x2A,
  kTrace = 0x26,
  kTry = 0x8F,
  kTypeOf = 0x44,
  kDefineFunction = 0x9B,
  kDefineFunction2 = 0x8E,
};

PushValue S(const std::string& s) { return PushValue::string(s); }
PushValue I(int32_t n) { return PushValue::integer(n); }
PushValue R(uint8_t r) { return PushValue::registerNumber(r); }

void appendString(Bytes& b, const std::string& s) {
  b.insert(b.end(), s.begin(), s.end());
  b.push_back(0);
}

void appendU16(Bytes& b, size_t v) {
  b.push_back(uint8_t(v & 0xFF));
  b.push_back(uint8_t(v >> 8));
}

ActionBuilder& defineFunction(ActionBuilder& a, const std::string& name, const ActionBuilder& body) {
  Bytes p;
  appendString(p, name);
  appendU16(p, 0);
  appendU16(p, body.size());
  return a.action(kDefineFunction, p).raw(body.bytes());
}

ActionBuilder& defineFunction2(ActionBuilder& a, const std::string& name, uint8_t registers, uint16_t flags,
                               const ActionBuilder& body) {
  Bytes p;
  appendString(p, name);
  appendU16(p, 0);
  p.push_back(registers);
  appendU16(p, flags);
  appendU16(p, body.size());
  return a.action(kDefineFunction2, p).raw(body.bytes());
}

ActionBuilder& tryBlock(ActionBuilder& a, uint8_t flags, const ActionBuilder& body, const ActionBuilder& onCatch,
                        const ActionBuilder& onFinally) {
  Bytes p;
  p.push_back(flags);
  appendU16(p, body.size());
  appendU16(p, onCatch.size());
  appendU16(p, onFinally.size());
  appendString(p, "e");
  return a.action(kTry, p).raw(body.bytes()).raw(onCatch.bytes()).raw(onFinally.bytes());
}

ActionBuilder& trace(ActionBuilder& a, const PushValue& v) { return a.push(v).action(kTrace); }
ActionBuilder& call(ActionBuilder& a, const std::string& fn) { return a.push({I(0), S(fn)}).action(kCallFunction); }

std::vector<std::string> traced(int version, const ActionBuilder& a) {
  SwfBuilder b;
  b.version(uint8_t(version));
  b.doAction(a);
  b.showFrame();
  swf::Movie movie;
  EXPECT_TRUE(movie.parse(b.finish()));
  std::vector<std::string> lines;
  swf::Stage stage(movie, nullptr, nullptr, [&lines](const std::string& line) { lines.push_back(line); });
  return lines;
}

TEST(Avm1CoreActions, TryDropsWhatItsBodyPushedAndWithoutTheCatchFlagRunsFinallyEarly) {
  ActionBuilder body, onCatch, onFinally, a;
  body.push({S("dropped"), S("boom")}).action(kThrow);
  onCatch.push(S("e")).action(kGetVariable).action(kTrace);
  a.push(S("kept"));
  tryBlock(a, 1, body, onCatch, onFinally).action(kTrace);
  // Finally only: the player runs its bytes from where catch would start.
  ActionBuilder early, late, b;
  trace(early, S("catch position"));
  trace(late, S("finally bytes!"));
  tryBlock(b, 2, body, early, late);
  trace(b, S("not reached: the throw goes on"));
  EXPECT_EQ(traced(7, a), (std::vector<std::string>{"boom", "kept"}));
  EXPECT_EQ(traced(7, b), (std::vector<std::string>{"catch position"}));
}

TEST(Avm1CoreActions, Version4TruthIsANumberButItsFunctionsFollowVersion5) {
  ActionBuilder body, a;
  body.push({S("eq "), I(1), I(1)}).action(kEquals2).action(kAdd2).action(kTrace);
  body.push({S("div "), I(4), I(0)}).action(kDivide).action(kAdd2).action(kTrace);
  defineFunction(a, "f", body);
  a.push({S("eq "), I(1), I(1)}).action(kEquals2).action(kAdd2).action(kTrace);
  a.push({I(1), I(1)}).action(kEquals2).action(kTypeOf).action(kTrace);
  a.push({S("div "), I(4), I(0)}).action(kDivide).action(kAdd2).action(kTrace);
  call(a, "f").action(kPop);
  EXPECT_EQ(traced(4, a), (std::vector<std::string>{"eq 1", "boolean", "div #ERROR#", "eq true", "div Infinity"}));
}

TEST(Avm1CoreActions, AVersion5FunctionCalledAloneHasItsTimelineAsThis) {
  ActionBuilder body, a;
  body.push(S("this")).action(kGetVariable).action(kTrace);
  defineFunction(a, "f", body);
  call(a, "f").action(kPop);
  EXPECT_EQ(traced(5, a), std::vector<std::string>{"_level0"});
}

TEST(Avm1CoreActions, PreloadSkipsTheParentARootLacks) {
  // Preload parent (0x80) and _global (0x100), nothing else.
  ActionBuilder body, a;
  trace(body, R(1));
  trace(body, R(2));
  defineFunction2(a, "f", 3, 0x1AA, body);
  call(a, "f").action(kPop);
  EXPECT_EQ(traced(7, a), (std::vector<std::string>{"[type Object]", "undefined"}));
}

TEST(Avm1CoreActions, AFunctionsPrototypeCannotBeDeleted) {
  ActionBuilder a, empty;
  defineFunction(a, "f", empty);
  a.push({S("f")}).action(kGetVariable).push(S("prototype")).action(kDelete).action(kTrace);
  a.push(S("f.prototype")).action(kGetVariable).action(kTypeOf).action(kTrace);
  EXPECT_EQ(traced(7, a), (std::vector<std::string>{"false", "object"}));
}

TEST(Avm1CoreActions, TwoSlashesInARowMakeAPathNameNothing) {
  ActionBuilder a;
  a.push({S("/:v"), S("set")}).action(kSetVariable);
  a.push(S("/:v")).action(kGetVariable).action(kTrace);
  a.push(S("//:v")).action(kGetVariable).action(kTrace);
  EXPECT_EQ(traced(6, a), (std::vector<std::string>{"set", "undefined"}));
}

}  // namespace
