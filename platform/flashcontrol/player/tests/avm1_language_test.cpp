// Language rules run through whole movies: NaN met again as the same
// stored number, dotted paths looked up scope by scope, `this` of call and
// apply without one, watchers' old values, registers past a function's own.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "action_steps.h"
#include "avm1_builtin_support.h"
#include "swf_builder.h"
#include "timeline/movie.h"
#include "timeline/stage.h"

namespace {

using namespace playertest;

// Pushes `name` = {key: value} (value already on the stack is not used).
ActionBuilder& setObject(ActionBuilder& a, const std::string& name, const std::string& key, const PushValue& value) {
  return a.push({str(name), str(key), value, i32(1)}).action(Code::InitObject).action(Code::SetVariable);
}

TEST(Avm1Language, ANaNEqualsItsCopiesButNotAnotherNaN) {
  ActionBuilder a;
  a.push({str("x"), i32(0), i32(0)}).action(Code::Divide).action(Code::SetVariable);
  for (Code op : {Code::Equals2, Code::StrictEquals}) {
    a.push(str("x")).action(Code::GetVariable).push(str("x")).action(Code::GetVariable).action(op).action(Code::Trace);
    a.push({i32(0), i32(0)})
        .action(Code::Divide)
        .push({i32(0), i32(0)})
        .action(Code::Divide)
        .action(op)
        .action(Code::Trace);
    a.push(str("x"))
        .action(Code::GetVariable)
        .push({i32(0), i32(0)})
        .action(Code::Divide)
        .action(op)
        .action(Code::Trace);
  }
  EXPECT_EQ(traced(7, a), (std::vector<std::string>{"true", "false", "false", "true", "false", "false"}));
}

TEST(Avm1Language, ADottedPathThatLeadsNowhereIsTriedInTheNextScope) {
  ActionBuilder a;
  // _global.a = {b: {c: "global"}}, _root's a = {b: "root"}.
  a.push({str("_global")}).action(Code::GetVariable);
  a.push({str("a"), str("b"), str("c"), str("global"), i32(1)})
      .action(Code::InitObject)
      .push(i32(1))
      .action(Code::InitObject);
  a.action(Code::SetMember);
  setObject(a, "a", "b", str("root"));
  a.push(str("a.b.c")).action(Code::GetVariable).action(Code::Trace);
  a.push(str("a.b")).action(Code::GetVariable).action(Code::Trace);
  // Assigning through the path changes the first scope whose object is reached.
  a.push({str("a.b.c"), str("set")}).action(Code::SetVariable);
  a.push({str("_global")})
      .action(Code::GetVariable)
      .push(str("a"))
      .action(Code::GetMember)
      .push(str("b"))
      .action(Code::GetMember);
  a.push(str("c")).action(Code::GetMember).action(Code::Trace);
  // A member that exists nowhere reads undefined from the first.
  a.push(str("a.zz")).action(Code::GetVariable).action(Code::Trace);
  EXPECT_EQ(traced(7, a), (std::vector<std::string>{"global", "root", "set", "undefined"}));
}

TEST(Avm1Language, CallAndApplyWithoutThisGiveGlobal) {
  // f preloads this (r1) and _global (r2) and traces whether they are one.
  ActionBuilder body, a;
  body.push({reg(1), reg(2)}).action(Code::StrictEquals).action(Code::Trace);
  defineFunction2(a, "f", 3, 0x0101 /* preload this and _global */, {}, body);
  for (const char* method : {"call", "apply"}) {
    for (PushValue self : {PushValue::undefined(), PushValue::null(), str("x")}) {
      a.push({self, i32(1), str("f")})
          .action(Code::GetVariable)
          .push(str(method))
          .action(Code::CallMethod)
          .action(Code::Pop);
    }
  }
  EXPECT_EQ(traced(7, a), (std::vector<std::string>{"true", "true", "false", "true", "true", "false"}));
}

TEST(Avm1Language, FromVersion10AFunctionReachesItsCallersRegistersPastItsOwn) {
  // g has one register: it reads r2 and writes r3, which are the caller's.
  ActionBuilder body, a;
  body.push(reg(2)).action(Code::Trace);
  body.push(str("inner")).action(Code::StoreRegister, Bytes{3}).action(Code::Pop);
  body.push(str("own")).action(Code::StoreRegister, Bytes{0}).action(Code::Pop);
  defineFunction2(a, "g", 1, 0, {}, body);
  a.push(str("outer")).action(Code::StoreRegister, Bytes{2}).action(Code::Pop);
  a.push({i32(0), str("g")}).action(Code::CallFunction).action(Code::Pop);
  a.push({reg(3)}).action(Code::Trace).push({reg(0)}).action(Code::Trace);
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
