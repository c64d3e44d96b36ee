// Action-level rules of the core language, run through whole movies:
// Try's flags and stack, version 4 truth and its functions, `this` of a
// version 5 function, DefineFunction2's registers, prototypes.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "action_steps.h"
#include "swf_builder.h"
#include "timeline/movie.h"
#include "timeline/stage.h"

namespace {

using namespace playertest;

ActionBuilder& tryBlock(ActionBuilder& a, uint8_t flags, const ActionBuilder& body, const ActionBuilder& onCatch,
                        const ActionBuilder& onFinally) {
  Bytes p;
  p.push_back(flags);
  mvqtest::putU16(p, body.size());
  mvqtest::putU16(p, onCatch.size());
  mvqtest::putU16(p, onFinally.size());
  mvqtest::putString(p, "e");
  return a.action(Code::Try, p).raw(body.bytes()).raw(onCatch.bytes()).raw(onFinally.bytes());
}

TEST(Avm1CoreActions, TryDropsWhatItsBodyPushedAndWithoutTheCatchFlagRunsFinallyEarly) {
  ActionBuilder body, onCatch, onFinally, a;
  body.push({str("dropped"), str("boom")}).action(Code::Throw);
  onCatch.push(str("e")).action(Code::GetVariable).action(Code::Trace);
  a.push(str("kept"));
  tryBlock(a, 1, body, onCatch, onFinally).action(Code::Trace);
  // Finally only: the player runs its bytes from where catch would start.
  ActionBuilder early, late, b;
  trace(early, str("catch position"));
  trace(late, str("finally bytes!"));
  tryBlock(b, 2, body, early, late);
  trace(b, str("not reached: the throw goes on"));
  EXPECT_EQ(traced(7, a), (std::vector<std::string>{"boom", "kept"}));
  EXPECT_EQ(traced(7, b), (std::vector<std::string>{"catch position"}));
}

TEST(Avm1CoreActions, Version4TruthIsANumberButItsFunctionsFollowVersion5) {
  ActionBuilder body, a;
  body.push({str("eq "), i32(1), i32(1)}).action(Code::Equals2).action(Code::Add2).action(Code::Trace);
  body.push({str("div "), i32(4), i32(0)}).action(Code::Divide).action(Code::Add2).action(Code::Trace);
  defineFunction(a, "f", {}, body);
  a.push({str("eq "), i32(1), i32(1)}).action(Code::Equals2).action(Code::Add2).action(Code::Trace);
  a.push({i32(1), i32(1)}).action(Code::Equals2).action(Code::TypeOf).action(Code::Trace);
  a.push({str("div "), i32(4), i32(0)}).action(Code::Divide).action(Code::Add2).action(Code::Trace);
  call(a, "f").action(Code::Pop);
  EXPECT_EQ(traced(4, a), (std::vector<std::string>{"eq 1", "boolean", "div #ERROR#", "eq true", "div Infinity"}));
}

TEST(Avm1CoreActions, AVersion5FunctionCalledAloneHasItsTimelineAsThis) {
  ActionBuilder body, a;
  body.push(str("this")).action(Code::GetVariable).action(Code::Trace);
  defineFunction(a, "f", {}, body);
  call(a, "f").action(Code::Pop);
  EXPECT_EQ(traced(5, a), std::vector<std::string>{"_level0"});
}

TEST(Avm1CoreActions, PreloadSkipsTheParentARootLacks) {
  // Preload parent (0x80) and _global (0x100), nothing else.
  ActionBuilder body, a;
  trace(body, reg(1));
  trace(body, reg(2));
  defineFunction2(a, "f", 3, 0x1AA, {}, body);
  call(a, "f").action(Code::Pop);
  EXPECT_EQ(traced(7, a), (std::vector<std::string>{"[type Object]", "undefined"}));
}

TEST(Avm1CoreActions, AFunctionsPrototypeCannotBeDeleted) {
  ActionBuilder a, empty;
  defineFunction(a, "f", {}, empty);
  a.push({str("f")}).action(Code::GetVariable).push(str("prototype")).action(Code::Delete).action(Code::Trace);
  a.push(str("f.prototype")).action(Code::GetVariable).action(Code::TypeOf).action(Code::Trace);
  EXPECT_EQ(traced(7, a), (std::vector<std::string>{"false", "object"}));
}

TEST(Avm1CoreActions, TwoSlashesInARowMakeAPathNameNothing) {
  ActionBuilder a;
  a.push({str("/:v"), str("set")}).action(Code::SetVariable);
  a.push(str("/:v")).action(Code::GetVariable).action(Code::Trace);
  a.push(str("//:v")).action(Code::GetVariable).action(Code::Trace);
  EXPECT_EQ(traced(6, a), (std::vector<std::string>{"set", "undefined"}));
}

}  // namespace
