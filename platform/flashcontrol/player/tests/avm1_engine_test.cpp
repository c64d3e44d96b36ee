// The engine's rules as the action model documents them, run through whole
// movies: conversions per version, names and the scope chain, functions and
// registers, prototypes and classes, exceptions, limits and event order.
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

// A movie of `frames` frames with each frame's actions; collects trace().
class MovieRun {
 public:
  MovieRun(int version, const std::vector<ActionBuilder>& frames, int ticks = 0) {
    SwfBuilder b;
    b.version(uint8_t(version));
    for (const ActionBuilder& f : frames) {
      b.doAction(f);
      b.showFrame();
    }
    EXPECT_TRUE(movie_.parse(b.finish()));
    stage_ = std::make_unique<swf::Stage>(movie_, nullptr, nullptr,
                                          [this](const std::string& line) { lines.push_back(line); });
    for (int i = 0; i < ticks; ++i) stage_->tick(true);
  }
  std::vector<std::string> lines;

 private:
  swf::Movie movie_;
  std::unique_ptr<swf::Stage> stage_;
};

TEST(Avm1Engine, UndefinedJoinsTextByVersion) {
  ActionBuilder a;
  a.push({str("a"), undef()}).action(Code::Add2).action(Code::Trace);
  a.push({undef(), f64(1)}).action(Code::Add2).action(Code::Trace);
  trace(a, undef());
  EXPECT_EQ(traced(6, a), (std::vector<std::string>{"a", "1", "undefined"}));
  EXPECT_EQ(traced(7, a), (std::vector<std::string>{"aundefined", "NaN", "undefined"}));
}

TEST(Avm1Engine, VariableNamesIgnoreCaseBeforeVersionSeven) {
  ActionBuilder a;
  a.push({str("Speed"), f64(3)}).action(Code::SetVariable);
  traceVar(a, "SPEED");
  EXPECT_EQ(traced(6, a), (std::vector<std::string>{"3"}));
  EXPECT_EQ(traced(7, a), (std::vector<std::string>{"undefined"}));
}

TEST(Avm1Engine, StringsComparedAsTextOrAsNumbers) {
  ActionBuilder a;
  a.push({str("10"), str("9")}).action(Code::Less2).action(Code::Trace);  // text order
  a.push({f64(10), str("9")}).action(Code::Less2).action(Code::Trace);    // numbers
  a.push({str("1e3"), f64(1000)}).action(Code::Equals2).action(Code::Trace);
  a.push({f64(0.1)}).push({f64(0.2)}).action(Code::Add2).action(Code::Trace);
  EXPECT_EQ(traced(7, a), (std::vector<std::string>{"true", "false", "true", "0.3"}));
}

TEST(Avm1Engine, FunctionsCloseOverTheScopeTheyWereMadeIn) {
  // function outer() { var n = 0; return function() { n++; return n; }; }
  ActionBuilder inner;
  inner.push({str("n"), str("n")}).action(Code::GetVariable).action(Code::Increment).action(Code::SetVariable);
  inner.push(str("n")).action(Code::GetVariable).action(Code::Return);
  ActionBuilder outerBody;
  outerBody.push({str("n"), f64(0)}).action(Code::DefineLocal);
  defineFunction(outerBody, "", {}, inner).action(Code::Return);
  ActionBuilder a;
  defineFunction(a, "outer", {}, outerBody);
  a.push(str("counter"));
  call(a, "outer", {}).action(Code::SetVariable);
  call(a, "counter", {}).action(Code::Pop);
  call(a, "counter", {}).action(Code::Trace);
  traceVar(a, "n");  // the local stays inside
  EXPECT_EQ(traced(7, a), (std::vector<std::string>{"2", "undefined"}));
}

TEST(Avm1Engine, DefineFunction2PreloadsRegistersAndParameters) {
  // function f(a in r2, b as a local) with `this` preloaded into r1.
  ActionBuilder body;
  body.push(reg(1)).push(str("tag")).action(Code::GetMember);
  body.push(reg(2)).action(Code::Add2);
  body.push(str("b")).action(Code::GetVariable).action(Code::Add2);
  body.push(str("arguments")).action(Code::GetVariable).push(str("length")).action(Code::GetMember).action(Code::Add2);
  body.action(Code::Return);
  ActionBuilder a;
  defineFunction2(a, "f", 3, 0x01 /* preload this */, {{2, "a"}, {0, "b"}}, body);
  a.push({str("o"), str("tag"), str("T"), i32(1)}).action(Code::InitObject).action(Code::SetVariable);
  a.push(str("o"))
      .action(Code::GetVariable)
      .push({str("f"), str("f")})
      .action(Code::GetVariable)
      .action(Code::SetMember);
  a.push({str("y"), str("x"), i32(2), str("o")})
      .action(Code::GetVariable)
      .push(str("f"))
      .action(Code::CallMethod)
      .action(Code::Trace);
  EXPECT_EQ(traced(7, a), (std::vector<std::string>{"Txy2"}));
}

TEST(Avm1Engine, PrototypesClassesAndInstanceOf) {
  // function A() { this.v = 1; }  A.prototype.get = function() { return this.v; }
  ActionBuilder aBody;
  aBody.push({str("this")}).action(Code::GetVariable).push({str("v"), f64(1)}).action(Code::SetMember);
  ActionBuilder getBody;
  getBody.push(str("this")).action(Code::GetVariable).push(str("v")).action(Code::GetMember).action(Code::Return);
  // function B() { super(); this.v += 10; }  B extends A
  ActionBuilder bBody;
  bBody.push({i32(0), str("super")}).action(Code::GetVariable).push(undef()).action(Code::CallMethod).action(Code::Pop);
  bBody.push(str("this")).action(Code::GetVariable).push(str("v"));
  bBody.push(str("this"))
      .action(Code::GetVariable)
      .push(str("v"))
      .action(Code::GetMember)
      .push(f64(10))
      .action(Code::Add2);
  bBody.action(Code::SetMember);
  ActionBuilder a;
  defineFunction(a, "A", {}, aBody);
  a.push(str("A")).action(Code::GetVariable).push(str("prototype")).action(Code::GetMember).push(str("get"));
  defineFunction(a, "", {}, getBody).action(Code::SetMember);
  defineFunction(a, "B", {}, bBody);
  a.push(str("B")).action(Code::GetVariable).push(str("A")).action(Code::GetVariable).action(Code::Extends);
  a.push({str("b"), i32(0), str("B")}).action(Code::NewObject).action(Code::SetVariable);
  a.push({i32(0), str("b")}).action(Code::GetVariable).push(str("get")).action(Code::CallMethod).action(Code::Trace);
  a.push(str("b"))
      .action(Code::GetVariable)
      .push(str("A"))
      .action(Code::GetVariable)
      .action(Code::InstanceOf)
      .action(Code::Trace);
  a.push(str("b")).action(Code::GetVariable).action(Code::TypeOf).action(Code::Trace);
  a.push(str("A")).action(Code::GetVariable).action(Code::TypeOf).action(Code::Trace);
  EXPECT_EQ(traced(7, a), (std::vector<std::string>{"11", "true", "object", "function"}));
}

TEST(Avm1Engine, WithPutsAnObjectFirstInTheScopeChain) {
  ActionBuilder body;
  traceVar(body, "k");
  body.push({str("k"), str("changed")}).action(Code::SetVariable);
  ActionBuilder a;
  a.push({str("k"), str("outer")}).action(Code::SetVariable);
  a.push({str("o"), str("k"), str("inner"), i32(1)}).action(Code::InitObject).action(Code::SetVariable);
  a.push(str("o")).action(Code::GetVariable);
  Bytes size;
  mvqtest::putU16(size, body.size());
  a.action(Code::With, size).raw(body.bytes());
  traceVar(a, "k");
  traceVar(a, "o.k");
  EXPECT_EQ(traced(7, a), (std::vector<std::string>{"inner", "outer", "changed"}));
}

TEST(Avm1Engine, EnumerationListsTheNewestPropertiesFirst) {
  ActionBuilder a;
  a.push({str("o"), i32(0)}).action(Code::InitObject).action(Code::SetVariable);
  a.push(str("o")).action(Code::GetVariable).push({str("first"), f64(1)}).action(Code::SetMember);
  a.push(str("o")).action(Code::GetVariable).push({str("second"), f64(2)}).action(Code::SetMember);
  a.push(str("o")).action(Code::GetVariable).action(Code::Enumerate2);
  // The names sit above a null, the newest on top.
  a.action(Code::Trace).action(Code::Trace);
  a.push(PushValue::null()).action(Code::Equals2).action(Code::Trace);
  EXPECT_EQ(traced(7, a), (std::vector<std::string>{"second", "first", "true"}));
}

TEST(Avm1Engine, ThrowReachesTheCatchAndFinallyRuns) {
  ActionBuilder tryBody, catchBody, finallyBody;
  tryBody.push(str("boom")).action(Code::Throw);
  trace(tryBody, str("not reached"));
  catchBody.push(str("e")).action(Code::GetVariable).action(Code::Trace);
  trace(finallyBody, str("finally"));
  Bytes p;
  p.push_back(0x03);  // catch and finally, caught into a variable
  mvqtest::putU16(p, tryBody.size());
  mvqtest::putU16(p, catchBody.size());
  mvqtest::putU16(p, finallyBody.size());
  mvqtest::putString(p, "e");
  ActionBuilder a;
  a.action(Code::Try, p).raw(tryBody.bytes()).raw(catchBody.bytes()).raw(finallyBody.bytes());
  trace(a, str("after"));
  // An uncaught throw ends only its own block.
  ActionBuilder second;
  second.push(str("x")).action(Code::Throw);
  trace(second, str("not reached"));
  ActionBuilder third;
  trace(third, str("next frame"));
  MovieRun run(7, {a, second, third}, 2);
  EXPECT_EQ(run.lines, (std::vector<std::string>{"boom", "finally", "after", "next frame"}));
}

TEST(Avm1Engine, EndlessLoopsAndDeepRecursionAreStoppedAndTheMovieGoesOn) {
  ActionBuilder loop;
  loop.jump(-5);
  ActionBuilder recurse;
  ActionBuilder body;
  call(body, "r", {}).action(Code::Return);
  defineFunction(recurse, "r", {}, body);
  call(recurse, "r", {}).action(Code::Pop);
  trace(recurse, str("after recursion"));
  ActionBuilder last;
  trace(last, str("still playing"));
  MovieRun run(7, {loop, recurse, last}, 2);
  // The aborted recursion takes the rest of its block with it.
  EXPECT_EQ(run.lines, (std::vector<std::string>{"still playing"}));
}

TEST(Avm1Engine, LoadAndEnterFrameEventsFollowTheFrameActions) {
  // this.onEnterFrame = function() { trace("enter"); }; this.onLoad = ...
  ActionBuilder enter, load;
  trace(enter, str("enter"));
  trace(load, str("load"));
  ActionBuilder a;
  a.push(str("this")).action(Code::GetVariable).push(str("onEnterFrame"));
  defineFunction(a, "", {}, enter).action(Code::SetMember);
  a.push(str("this")).action(Code::GetVariable).push(str("onLoad"));
  defineFunction(a, "", {}, load).action(Code::SetMember);
  trace(a, str("frame 1"));
  ActionBuilder b;
  trace(b, str("frame 2"));
  MovieRun run(6, {a, b}, 1);
  EXPECT_EQ(run.lines, (std::vector<std::string>{"frame 1", "load", "enter", "frame 2"}));
}

TEST(Avm1Engine, Version5FunctionsCloseOverTheTimelineOnly) {
  // The closure test again: before version 6 the local n is out of reach,
  // so the inner function counts on the timeline.
  ActionBuilder inner;
  inner.push({str("n"), str("n")}).action(Code::GetVariable).action(Code::Increment).action(Code::SetVariable);
  inner.push(str("n")).action(Code::GetVariable).action(Code::Return);
  ActionBuilder outerBody;
  outerBody.push({str("n"), f64(10)}).action(Code::DefineLocal);
  defineFunction(outerBody, "", {}, inner).action(Code::Return);
  ActionBuilder a;
  defineFunction(a, "outer", {}, outerBody);
  a.push(str("counter"));
  call(a, "outer", {}).action(Code::SetVariable);
  call(a, "counter", {}).action(Code::Pop);
  call(a, "counter", {}).action(Code::Trace);
  traceVar(a, "n");
  EXPECT_EQ(traced(5, a), (std::vector<std::string>{"2", "2"}));
  EXPECT_EQ(traced(6, a), (std::vector<std::string>{"12", "undefined"}));
}

TEST(Avm1Engine, AFunctionFoundAmongLocalsRunsWithTheActivationAsThis) {
  // function test() { var x = 3; var show = function() { trace(this.x); }; show(); }
  ActionBuilder show;
  show.push(str("this")).action(Code::GetVariable).push(str("x")).action(Code::GetMember).action(Code::Trace);
  ActionBuilder body;
  body.push({str("x"), f64(3)}).action(Code::DefineLocal);
  body.push(str("show"));
  defineFunction(body, "", {}, show).action(Code::DefineLocal);
  call(body, "show", {}).action(Code::Pop);
  ActionBuilder a;
  a.push({str("x"), f64(1)}).action(Code::SetVariable);
  defineFunction(a, "test", {}, body);
  call(a, "test", {}).action(Code::Pop);
  EXPECT_EQ(traced(7, a), (std::vector<std::string>{"3"}));
}

TEST(Avm1Engine, ATimelineFunctionRunsWithTheTimelineAsThisFromVersion6) {
  ActionBuilder show;
  show.push(str("this")).action(Code::GetVariable).action(Code::Trace);
  ActionBuilder a;
  defineFunction(a, "show", {}, show);
  call(a, "show", {}).action(Code::Pop);
  EXPECT_EQ(traced(6, a), (std::vector<std::string>{"_level0"}));
}

TEST(Avm1Engine, DefineFunction2AskingForNoRegistersGetsFour) {
  ActionBuilder body;
  body.push(str("hi")).action(Code::StoreRegister, {3}).action(Code::Pop);
  body.push(reg(3)).action(Code::Trace);
  ActionBuilder a;
  defineFunction2(a, "none", 0, 0, {}, body);
  defineFunction2(a, "one", 1, 0, {}, body);
  call(a, "none", {}).action(Code::Pop);
  call(a, "one", {}).action(Code::Pop);
  EXPECT_EQ(traced(7, a), (std::vector<std::string>{"hi", "undefined"}));
}

TEST(Avm1Engine, AssignmentInsideWithWritesOnlyOwnProperties) {
  // o.__proto__ = {a: 4}; with (o) { a = 5; b = 6; }  with o.b own
  ActionBuilder body;
  body.push({str("a"), f64(5)}).action(Code::SetVariable);
  body.push({str("b"), f64(6)}).action(Code::SetVariable);
  ActionBuilder a;
  a.push({str("o"), str("b"), f64(0), i32(1)}).action(Code::InitObject).action(Code::SetVariable);
  a.push(str("o"))
      .action(Code::GetVariable)
      .push({str("__proto__"), str("a"), f64(4), i32(1)})
      .action(Code::InitObject);
  a.action(Code::SetMember);
  a.push(str("o")).action(Code::GetVariable);
  Bytes size;
  mvqtest::putU16(size, body.size());
  a.action(Code::With, size).raw(body.bytes());
  traceVar(a, "o.a");
  traceVar(a, "o.b");
  traceVar(a, "a");
  traceVar(a, "b");
  EXPECT_EQ(traced(7, a), (std::vector<std::string>{"4", "6", "5", "undefined"}));
}

TEST(Avm1Engine, OlderOperatorsConvertTheirOperandsInTheRealPlayersOrder) {
  // o1.valueOf traces "1" and gives 1; o2.valueOf traces "2" and gives 2.
  ActionBuilder a;
  for (int i = 1; i <= 2; ++i) {
    std::string n = std::to_string(i);
    ActionBuilder valueOf;
    trace(valueOf, str(n)).push(f64(i)).action(Code::Return);
    a.push({str("o" + n), str("valueOf")});
    defineFunction(a, "", {}, valueOf).push(i32(1)).action(Code::InitObject).action(Code::SetVariable);
  }
  auto both = [&](uint8_t op) {
    a.push(str("o1")).action(Code::GetVariable).push(str("o2")).action(Code::GetVariable).action(op);
  };
  both(0x0A);  // Add: left first
  a.action(Code::Trace);
  both(0x0B);  // Subtract: right first
  a.action(Code::Trace);
  both(0x0E);  // Equals: right first
  a.action(Code::Trace);
  EXPECT_EQ(traced(4, a), (std::vector<std::string>{"1", "2", "3", "2", "1", "-1", "2", "1", "0"}));
}

TEST(Avm1Engine, Add2KeepsAClipAsTextOrNoNumberAndToIntegerWraps) {
  ActionBuilder a;
  a.push(f64(1)).push(str("this")).action(Code::GetVariable).action(Code::Add2).action(Code::Trace);
  a.push(str("at ")).push(str("this")).action(Code::GetVariable).action(Code::Add2).action(Code::Trace);
  a.push(f64(4294967295.0)).action(0x18).action(Code::Trace);
  a.push(str("030")).action(0x18).action(Code::Trace);
  EXPECT_EQ(traced(6, a), (std::vector<std::string>{"NaN", "at _level0", "-1", "24"}));
}

}  // namespace
