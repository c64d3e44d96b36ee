// Language rules run through whole movies: NaN met again as the same
// stored number, dotted paths looked up scope by scope, `this` of call and
// apply without one, watchers' old values, registers past a function's own.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "avm1_builtin_support.h"
#include "swf_builder.h"
#include "timeline/movie.h"
#include "timeline/stage.h"

namespace {

using mvqtest::ActionBuilder;
using mvqtest::Bytes;
using mvqtest::PushValue;
using mvqtest::SwfBuilder;

enum : uint8_t {
  kCallMethod = 0x52,
  kDivide = 0x0D,
  kEquals2 = 0x49,
  kGetMember = 0x4E,
  kGetVariable = 0x1C,
  kInitObject = 0x43,
  kPop = 0x17,
  kSetMember = 0x4F,
  kSetVariable = 0x1D,
  kStrictEquals = 0x66,
  kTrace = 0x26,
  kDefineFunction2 = 0x8E,
  kStoreRegister = 0x87,
  kCallFunction = 0x3D,
};

PushValue S(const std::string& s) { return PushValue::string(s); }
PushValue I(int32_t n) { return PushValue::integer(n); }
PushValue R(uint8_t r) { return PushValue::registerNumber(r); }

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

// Pushes `name` = {key: value} (value already on the stack is not used).
ActionBuilder& setObject(ActionBuilder& a, const std::string& name, const std::string& key, const PushValue& value) {
  return a.push({S(name), S(key), value, I(1)}).action(kInitObject).action(kSetVariable);
}

TEST(Avm1Language, ANaNEqualsItsCopiesButNotAnotherNaN) {
  ActionBuilder a;
  a.push({S("x"), I(0), I(0)}).action(kDivide).action(kSetVariable);
  for (uint8_t op : {kEquals2, kStrictEquals}) {
    a.push(S("x")).action(kGetVariable).push(S("x")).action(kGetVariable).action(op).action(kTrace);
    a.push({I(0), I(0)}).action(kDivide).push({I(0), I(0)}).action(kDivide).action(op).action(kTrace);
    a.push(S("x")).action(kGetVariable).push({I(0), I(0)}).action(kDivide).action(op).action(kTrace);
  }
  EXPECT_EQ(traced(7, a), (std::vector<std::string>{"true", "false", "false", "true", "false", "false"}));
}

TEST(Avm1Language, ADottedPathThatLeadsNowhereIsTriedInTheNextScope) {
  ActionBuilder a;
  // _global.a = {b: {c: "global"}}, _root's a = {b: "root"}.
  a.push({S("_global")}).action(kGetVariable);
  a.push({S("a"), S("b"), S("c"), S("global"), I(1)}).action(kInitObject).push(I(1)).action(kInitObject);
  a.action(kSetMember);
  setObject(a, "a", "b", S("root"));
  a.push(S("a.b.c")).action(kGetVariable).action(kTrace);
  a.push(S("a.b")).action(kGetVariable).action(kTrace);
  // Assigning through the path changes the first scope whose object is reached.
  a.push({S("a.b.c"), S("set")}).action(kSetVariable);
  a.push({S("_global")}).action(kGetVariable).push(S("a")).action(kGetMember).push(S("b")).action(kGetMember);
  a.push(S("c")).action(kGetMember).action(kTrace);
  // A member that exists nowhere reads undefined from the first.
  a.push(S("a.zz")).action(kGetVariable).action(kTrace);
  EXPECT_EQ(traced(7, a), (std::vector<std::string>{"global", "root", "set", "undefined"}));
}

TEST(Avm1Language, CallAndApplyWithoutThisGiveGlobal) {
  // f preloads this (r1) and _global (r2) and traces whether they are one.
  ActionBuilder body, a;
  body.push({R(1), R(2)}).action(kStrictEquals).action(kTrace);
  Bytes p{'f', 0, 0, 0, 3};
  p.push_back(0x01);  // preload this
  p.push_back(0x01);  // preload _global
  p.push_back(uint8_t(body.size() & 0xFF));
  p.push_back(uint8_t(body.size() >> 8));
  a.action(kDefineFunction2, p).raw(body.bytes());
  for (const char* method : {"call", "apply"}) {
    for (PushValue self : {PushValue::undefined(), PushValue::null(), S("x")}) {
      a.push({self, I(1), S("f")}).action(kGetVariable).push(S(method)).action(kCallMethod).action(kPop);
    }
  }
  EXPECT_EQ(traced(7, a), (std::vector<std::string>{"true", "true", "false", "true", "true", "false"}));
}

TEST(Avm1Language, FromVersion10AFunctionReachesItsCallersRegistersPastItsOwn) {
  // g has one register: it reads r2 and writes r3, which are the caller's.
  ActionBuilder body, a;
  body.push(R(2)).action(kTrace);
  body.push(S("inner")).action(kStoreRegister, Bytes{3}).action(kPop);
  body.push(S("own")).action(kStoreRegister, Bytes{0}).action(kPop);
  Bytes p{'g', 0, 0, 0, 1, 0, 0};
  p.push_back(uint8_t(body.size() & 0xFF));
  p.push_back(uint8_t(body.size() >> 8));
  a.action(kDefineFunction2, p).raw(body.bytes());
  a.push(S("outer")).action(kStoreRegister, Bytes{2}).action(kPop);
  a.push({I(0), S("g")}).action(kCallFunction).action(kPop);
  a.push({R(3)}).action(kTrace).push({R(0)}).action(kTrace);
  EXPECT_EQ(traced(10, a), (std::vector<std::string>{"outer", "inner", "undefined"}));
  EXPECT_EQ(traced(7, a), (std::vector<std::string>{"undefined", "undefined", "undefined"}));
}

TEST(Avm1Language, AWatcherOfAnInheritedNameSeesThePrototypesValue) {
  avm1test::World w(7);
  avm1test::Object* proto = w.vm.newObject();
  proto->set("v", avm1test::Value("inherited"));
  avm1test::Object* o = w.vm.newObject(proto);
  std::vector<std::string> seen;
  auto* cb = w.vm.newFunction([&seen](avm1test::Vm& vm, const avm1test::Value&, const avm1test::Args& args) {
    seen.push_back(vm.toString(args[1]));
    return args[2];
  });
  ASSERT_TRUE(o->watch("v", cb, avm1test::Value()));
  ASSERT_TRUE(o->watch("w", cb, avm1test::Value()));
  o->set("v", avm1test::Value("own"));
  o->set("v", avm1test::Value("again"));
  o->set("w", avm1test::Value(1));
  EXPECT_EQ(seen, (std::vector<std::string>{"inherited", "own", "undefined"}));
  EXPECT_EQ(w.text(proto->get("v")), "inherited");
}

}  // namespace
