// The engine's rules as the action model documents them, run through whole
// movies: conversions per version, names and the scope chain, functions and
// registers, prototypes and classes, exceptions, limits and event order.
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

// Action codes, named as the format names them.
enum : uint8_t {
  kAdd2 = 0x47,
  kCallFunction = 0x3D,
  kCallMethod = 0x52,
  kDefineLocal = 0x3C,
  kEquals2 = 0x49,
  kExtends = 0x69,
  kGetMember = 0x4E,
  kGetVariable = 0x1C,
  kIncrement = 0x50,
  kInitObject = 0x43,
  kInstanceOf = 0x54,
  kLess2 = 0x48,
  kNewObject = 0x40,
  kPop = 0x17,
  kReturn = 0x3E,
  kSetMember = 0x4F,
  kSetVariable = 0x1D,
  kStoreRegister = 0x87,
  kThrow = 0x2A,
  kToString = 0x4B,
  kTrace = 0x26,
  kTry = 0x8F,
  kTypeOf = 0x44,
  kDefineFunction = 0x9B,
  kDefineFunction2 = 0x8E,
  kWith = 0x94,
  kEnumerate2 = 0x55,
};

PushValue S(const std::string& s) { return PushValue::string(s); }
PushValue N(double n) { return PushValue::number(n); }
PushValue I(int32_t n) { return PushValue::integer(n); }
PushValue R(uint8_t r) { return PushValue::registerNumber(r); }
PushValue U() { return PushValue::undefined(); }

void appendString(Bytes& b, const std::string& s) {
  b.insert(b.end(), s.begin(), s.end());
  b.push_back(0);
}

void appendU16(Bytes& b, size_t v) {
  b.push_back(uint8_t(v & 0xFF));
  b.push_back(uint8_t(v >> 8));
}

// DefineFunction: name, parameters, then the body.
ActionBuilder& defineFunction(ActionBuilder& a, const std::string& name, const std::vector<std::string>& params,
                              const ActionBuilder& body) {
  Bytes p;
  appendString(p, name);
  appendU16(p, params.size());
  for (const std::string& s : params) appendString(p, s);
  appendU16(p, body.size());
  a.action(kDefineFunction, p);
  return a.raw(body.bytes());
}

// DefineFunction2 with registers: params are (register, name) pairs.
ActionBuilder& defineFunction2(ActionBuilder& a, const std::string& name, uint8_t registers, uint16_t flags,
                               const std::vector<std::pair<uint8_t, std::string>>& params, const ActionBuilder& body) {
  Bytes p;
  appendString(p, name);
  appendU16(p, params.size());
  p.push_back(registers);
  appendU16(p, flags);
  for (const auto& param : params) {
    p.push_back(param.first);
    appendString(p, param.second);
  }
  appendU16(p, body.size());
  a.action(kDefineFunction2, p);
  return a.raw(body.bytes());
}

ActionBuilder& trace(ActionBuilder& a, const PushValue& v) { return a.push(v).action(kTrace); }
ActionBuilder& traceVar(ActionBuilder& a, const std::string& name) {
  return a.push(S(name)).action(kGetVariable).action(kTrace);
}
ActionBuilder& call(ActionBuilder& a, const std::string& fn, std::vector<PushValue> args) {
  for (auto it = args.rbegin(); it != args.rend(); ++it) a.push(*it);
  return a.push({I(int32_t(args.size())), S(fn)}).action(kCallFunction);
}

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

std::vector<std::string> traced(int version, const ActionBuilder& a) { return MovieRun(version, {a}).lines; }

TEST(Avm1Engine, UndefinedJoinsTextByVersion) {
  ActionBuilder a;
  a.push({S("a"), U()}).action(kAdd2).action(kTrace);
  a.push({U(), N(1)}).action(kAdd2).action(kTrace);
  trace(a, U());
  EXPECT_EQ(traced(6, a), (std::vector<std::string>{"a", "1", "undefined"}));
  EXPECT_EQ(traced(7, a), (std::vector<std::string>{"aundefined", "NaN", "undefined"}));
}

TEST(Avm1Engine, VariableNamesIgnoreCaseBeforeVersionSeven) {
  ActionBuilder a;
  a.push({S("Speed"), N(3)}).action(kSetVariable);
  traceVar(a, "SPEED");
  EXPECT_EQ(traced(6, a), (std::vector<std::string>{"3"}));
  EXPECT_EQ(traced(7, a), (std::vector<std::string>{"undefined"}));
}

TEST(Avm1Engine, StringsComparedAsTextOrAsNumbers) {
  ActionBuilder a;
  a.push({S("10"), S("9")}).action(kLess2).action(kTrace);  // text order
  a.push({N(10), S("9")}).action(kLess2).action(kTrace);    // numbers
  a.push({S("1e3"), N(1000)}).action(kEquals2).action(kTrace);
  a.push({N(0.1)}).push({N(0.2)}).action(kAdd2).action(kTrace);
  EXPECT_EQ(traced(7, a), (std::vector<std::string>{"true", "false", "true", "0.3"}));
}

TEST(Avm1Engine, FunctionsCloseOverTheScopeTheyWereMadeIn) {
  // function outer() { var n = 0; return function() { n++; return n; }; }
  ActionBuilder inner;
  inner.push({S("n"), S("n")}).action(kGetVariable).action(kIncrement).action(kSetVariable);
  inner.push(S("n")).action(kGetVariable).action(kReturn);
  ActionBuilder outerBody;
  outerBody.push({S("n"), N(0)}).action(kDefineLocal);
  defineFunction(outerBody, "", {}, inner).action(kReturn);
  ActionBuilder a;
  defineFunction(a, "outer", {}, outerBody);
  a.push(S("counter"));
  call(a, "outer", {}).action(kSetVariable);
  call(a, "counter", {}).action(kPop);
  call(a, "counter", {}).action(kTrace);
  traceVar(a, "n");  // the local stays inside
  EXPECT_EQ(traced(7, a), (std::vector<std::string>{"2", "undefined"}));
}

TEST(Avm1Engine, DefineFunction2PreloadsRegistersAndParameters) {
  // function f(a in r2, b as a local) with `this` preloaded into r1.
  ActionBuilder body;
  body.push(R(1)).push(S("tag")).action(kGetMember);
  body.push(R(2)).action(kAdd2);
  body.push(S("b")).action(kGetVariable).action(kAdd2);
  body.push(S("arguments")).action(kGetVariable).push(S("length")).action(kGetMember).action(kAdd2);
  body.action(kReturn);
  ActionBuilder a;
  defineFunction2(a, "f", 3, 0x01 /* preload this */, {{2, "a"}, {0, "b"}}, body);
  a.push({S("o"), S("tag"), S("T"), I(1)}).action(kInitObject).action(kSetVariable);
  a.push(S("o")).action(kGetVariable).push({S("f"), S("f")}).action(kGetVariable).action(kSetMember);
  a.push({S("y"), S("x"), I(2), S("o")}).action(kGetVariable).push(S("f")).action(kCallMethod).action(kTrace);
  EXPECT_EQ(traced(7, a), (std::vector<std::string>{"Txy2"}));
}

TEST(Avm1Engine, PrototypesClassesAndInstanceOf) {
  // function A() { this.v = 1; }  A.prototype.get = function() { return this.v; }
  ActionBuilder aBody;
  aBody.push({S("this")}).action(kGetVariable).push({S("v"), N(1)}).action(kSetMember);
  ActionBuilder getBody;
  getBody.push(S("this")).action(kGetVariable).push(S("v")).action(kGetMember).action(kReturn);
  // function B() { super(); this.v += 10; }  B extends A
  ActionBuilder bBody;
  bBody.push({I(0), S("super")}).action(kGetVariable).push(U()).action(kCallMethod).action(kPop);
  bBody.push(S("this")).action(kGetVariable).push(S("v"));
  bBody.push(S("this")).action(kGetVariable).push(S("v")).action(kGetMember).push(N(10)).action(kAdd2);
  bBody.action(kSetMember);
  ActionBuilder a;
  defineFunction(a, "A", {}, aBody);
  a.push(S("A")).action(kGetVariable).push(S("prototype")).action(kGetMember).push(S("get"));
  defineFunction(a, "", {}, getBody).action(kSetMember);
  defineFunction(a, "B", {}, bBody);
  a.push(S("B")).action(kGetVariable).push(S("A")).action(kGetVariable).action(kExtends);
  a.push({S("b"), I(0), S("B")}).action(kNewObject).action(kSetVariable);
  a.push({I(0), S("b")}).action(kGetVariable).push(S("get")).action(kCallMethod).action(kTrace);
  a.push(S("b")).action(kGetVariable).push(S("A")).action(kGetVariable).action(kInstanceOf).action(kTrace);
  a.push(S("b")).action(kGetVariable).action(kTypeOf).action(kTrace);
  a.push(S("A")).action(kGetVariable).action(kTypeOf).action(kTrace);
  EXPECT_EQ(traced(7, a), (std::vector<std::string>{"11", "true", "object", "function"}));
}

TEST(Avm1Engine, WithPutsAnObjectFirstInTheScopeChain) {
  ActionBuilder body;
  traceVar(body, "k");
  body.push({S("k"), S("changed")}).action(kSetVariable);
  ActionBuilder a;
  a.push({S("k"), S("outer")}).action(kSetVariable);
  a.push({S("o"), S("k"), S("inner"), I(1)}).action(kInitObject).action(kSetVariable);
  a.push(S("o")).action(kGetVariable);
  Bytes size;
  appendU16(size, body.size());
  a.action(kWith, size).raw(body.bytes());
  traceVar(a, "k");
  traceVar(a, "o.k");
  EXPECT_EQ(traced(7, a), (std::vector<std::string>{"inner", "outer", "changed"}));
}

TEST(Avm1Engine, EnumerationListsTheNewestPropertiesFirst) {
  ActionBuilder a;
  a.push({S("o"), I(0)}).action(kInitObject).action(kSetVariable);
  a.push(S("o")).action(kGetVariable).push({S("first"), N(1)}).action(kSetMember);
  a.push(S("o")).action(kGetVariable).push({S("second"), N(2)}).action(kSetMember);
  a.push(S("o")).action(kGetVariable).action(kEnumerate2);
  // The names sit above a null, the newest on top.
  a.action(kTrace).action(kTrace);
  a.push(PushValue::null()).action(kEquals2).action(kTrace);
  EXPECT_EQ(traced(7, a), (std::vector<std::string>{"second", "first", "true"}));
}

TEST(Avm1Engine, ThrowReachesTheCatchAndFinallyRuns) {
  ActionBuilder tryBody, catchBody, finallyBody;
  tryBody.push(S("boom")).action(kThrow);
  trace(tryBody, S("not reached"));
  catchBody.push(S("e")).action(kGetVariable).action(kTrace);
  trace(finallyBody, S("finally"));
  Bytes p;
  p.push_back(0x03);  // catch and finally, caught into a variable
  appendU16(p, tryBody.size());
  appendU16(p, catchBody.size());
  appendU16(p, finallyBody.size());
  appendString(p, "e");
  ActionBuilder a;
  a.action(kTry, p).raw(tryBody.bytes()).raw(catchBody.bytes()).raw(finallyBody.bytes());
  trace(a, S("after"));
  // An uncaught throw ends only its own block.
  ActionBuilder second;
  second.push(S("x")).action(kThrow);
  trace(second, S("not reached"));
  ActionBuilder third;
  trace(third, S("next frame"));
  MovieRun run(7, {a, second, third}, 2);
  EXPECT_EQ(run.lines, (std::vector<std::string>{"boom", "finally", "after", "next frame"}));
}

TEST(Avm1Engine, EndlessLoopsAndDeepRecursionAreStoppedAndTheMovieGoesOn) {
  ActionBuilder loop;
  loop.jump(-5);
  ActionBuilder recurse;
  ActionBuilder body;
  call(body, "r", {}).action(kReturn);
  defineFunction(recurse, "r", {}, body);
  call(recurse, "r", {}).action(kPop);
  trace(recurse, S("after recursion"));
  ActionBuilder last;
  trace(last, S("still playing"));
  MovieRun run(7, {loop, recurse, last}, 2);
  // The aborted recursion takes the rest of its block with it.
  EXPECT_EQ(run.lines, (std::vector<std::string>{"still playing"}));
}

TEST(Avm1Engine, LoadAndEnterFrameEventsFollowTheFrameActions) {
  // this.onEnterFrame = function() { trace("enter"); }; this.onLoad = ...
  ActionBuilder enter, load;
  trace(enter, S("enter"));
  trace(load, S("load"));
  ActionBuilder a;
  a.push(S("this")).action(kGetVariable).push(S("onEnterFrame"));
  defineFunction(a, "", {}, enter).action(kSetMember);
  a.push(S("this")).action(kGetVariable).push(S("onLoad"));
  defineFunction(a, "", {}, load).action(kSetMember);
  trace(a, S("frame 1"));
  ActionBuilder b;
  trace(b, S("frame 2"));
  MovieRun run(6, {a, b}, 1);
  EXPECT_EQ(run.lines, (std::vector<std::string>{"frame 1", "load", "enter", "frame 2"}));
}

TEST(Avm1Engine, Version5FunctionsCloseOverTheTimelineOnly) {
  // The closure test again: before version 6 the local n is out of reach,
  // so the inner function counts on the timeline.
  ActionBuilder inner;
  inner.push({S("n"), S("n")}).action(kGetVariable).action(kIncrement).action(kSetVariable);
  inner.push(S("n")).action(kGetVariable).action(kReturn);
  ActionBuilder outerBody;
  outerBody.push({S("n"), N(10)}).action(kDefineLocal);
  defineFunction(outerBody, "", {}, inner).action(kReturn);
  ActionBuilder a;
  defineFunction(a, "outer", {}, outerBody);
  a.push(S("counter"));
  call(a, "outer", {}).action(kSetVariable);
  call(a, "counter", {}).action(kPop);
  call(a, "counter", {}).action(kTrace);
  traceVar(a, "n");
  EXPECT_EQ(traced(5, a), (std::vector<std::string>{"2", "2"}));
  EXPECT_EQ(traced(6, a), (std::vector<std::string>{"12", "undefined"}));
}

TEST(Avm1Engine, AFunctionFoundAmongLocalsRunsWithTheActivationAsThis) {
  // function test() { var x = 3; var show = function() { trace(this.x); }; show(); }
  ActionBuilder show;
  show.push(S("this")).action(kGetVariable).push(S("x")).action(kGetMember).action(kTrace);
  ActionBuilder body;
  body.push({S("x"), N(3)}).action(kDefineLocal);
  body.push(S("show"));
  defineFunction(body, "", {}, show).action(kDefineLocal);
  call(body, "show", {}).action(kPop);
  ActionBuilder a;
  a.push({S("x"), N(1)}).action(kSetVariable);
  defineFunction(a, "test", {}, body);
  call(a, "test", {}).action(kPop);
  EXPECT_EQ(traced(7, a), (std::vector<std::string>{"3"}));
}

TEST(Avm1Engine, ATimelineFunctionRunsWithTheTimelineAsThisFromVersion6) {
  ActionBuilder show;
  show.push(S("this")).action(kGetVariable).action(kTrace);
  ActionBuilder a;
  defineFunction(a, "show", {}, show);
  call(a, "show", {}).action(kPop);
  EXPECT_EQ(traced(6, a), (std::vector<std::string>{"_level0"}));
}

TEST(Avm1Engine, DefineFunction2AskingForNoRegistersGetsFour) {
  ActionBuilder body;
  body.push(S("hi")).action(kStoreRegister, {3}).action(kPop);
  body.push(R(3)).action(kTrace);
  ActionBuilder a;
  defineFunction2(a, "none", 0, 0, {}, body);
  defineFunction2(a, "one", 1, 0, {}, body);
  call(a, "none", {}).action(kPop);
  call(a, "one", {}).action(kPop);
  EXPECT_EQ(traced(7, a), (std::vector<std::string>{"hi", "undefined"}));
}

TEST(Avm1Engine, AssignmentInsideWithWritesOnlyOwnProperties) {
  // o.__proto__ = {a: 4}; with (o) { a = 5; b = 6; }  with o.b own
  ActionBuilder body;
  body.push({S("a"), N(5)}).action(kSetVariable);
  body.push({S("b"), N(6)}).action(kSetVariable);
  ActionBuilder a;
  a.push({S("o"), S("b"), N(0), I(1)}).action(kInitObject).action(kSetVariable);
  a.push(S("o")).action(kGetVariable).push({S("__proto__"), S("a"), N(4), I(1)}).action(kInitObject);
  a.action(kSetMember);
  a.push(S("o")).action(kGetVariable);
  Bytes size;
  appendU16(size, body.size());
  a.action(kWith, size).raw(body.bytes());
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
    trace(valueOf, S(n)).push(N(i)).action(kReturn);
    a.push({S("o" + n), S("valueOf")});
    defineFunction(a, "", {}, valueOf).push(I(1)).action(kInitObject).action(kSetVariable);
  }
  auto both = [&](uint8_t op) { a.push(S("o1")).action(kGetVariable).push(S("o2")).action(kGetVariable).action(op); };
  both(0x0A);  // Add: left first
  a.action(kTrace);
  both(0x0B);  // Subtract: right first
  a.action(kTrace);
  both(0x0E);  // Equals: right first
  a.action(kTrace);
  EXPECT_EQ(traced(4, a), (std::vector<std::string>{"1", "2", "3", "2", "1", "-1", "2", "1", "0"}));
}

TEST(Avm1Engine, Add2KeepsAClipAsTextOrNoNumberAndToIntegerWraps) {
  ActionBuilder a;
  a.push(N(1)).push(S("this")).action(kGetVariable).action(kAdd2).action(kTrace);
  a.push(S("at ")).push(S("this")).action(kGetVariable).action(kAdd2).action(kTrace);
  a.push(N(4294967295.0)).action(0x18).action(kTrace);
  a.push(S("030")).action(0x18).action(kTrace);
  EXPECT_EQ(traced(6, a), (std::vector<std::string>{"NaN", "at _level0", "-1", "24"}));
}

}  // namespace
