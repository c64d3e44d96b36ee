// Objects and built-in classes at their edges: array lengths as signed
// 32-bit integers, which prototype `super` starts above, prototype cycles,
// the bounds of empty clips, GetProperty's numbers, getters read inside
// themselves.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "action_steps.h"
#include "avm1/array_object.h"
#include "avm1_builtin_support.h"
#include "swf_builder.h"
#include "timeline/movie.h"
#include "timeline/stage.h"

namespace {

using namespace avm1test;
using namespace playertest;

// name = {} with name.__proto__ = proto (when given).
void makeObject(ActionBuilder& a, const std::string& name, const std::string& proto) {
  a.push({str(name), i32(0)}).action(Code::InitObject).action(Code::SetVariable);
  if (proto.empty()) return;
  a.push(str(name))
      .action(Code::GetVariable)
      .push({str("__proto__"), str(proto)})
      .action(Code::GetVariable)
      .action(Code::SetMember);
}

// owner.method = function () { body }
void setMethod(ActionBuilder& a, const std::string& owner, const std::string& method, const ActionBuilder& body) {
  a.push(str(owner)).action(Code::GetVariable).push(str(method));
  defineFunction(a, "", {}, body).action(Code::SetMember);
}

void callMethod(ActionBuilder& a, const std::string& owner, const std::string& method) {
  a.push(i32(0))
      .push(str(owner))
      .action(Code::GetVariable)
      .push(str(method))
      .action(Code::CallMethod)
      .action(Code::Pop);
}

std::string keysOf(World& w, const Value& o) {
  std::string out;
  for (const std::string& k : o.object->enumerableNames()) out += (out.empty() ? "" : ",") + k;
  return out;
}

TEST(Avm1ObjectModel, ArrayLengthWrapsAsASigned32BitInteger) {
  World w(7);
  Value a(w.vm.newArray());
  a.object->set("1", Value("x"));
  a.object->set("3", Value("y"));
  EXPECT_EQ(w.number(a.object->get("length")), 4);
  // Negative and wrapped-negative indices stay below the length.
  a.object->set("-5", Value("z"));
  a.object->set("2147483648", Value("z"));
  EXPECT_EQ(w.number(a.object->get("length")), 4);
  // One past 2^31 - 1 wraps negative, and the lower length drops 1 and 3.
  a.object->set("2147483647", Value("z"));
  EXPECT_EQ(w.number(a.object->get("length")), -2147483648.0);
  EXPECT_EQ(a.object->get("3").type, Value().type);
  a.object->set("4294967295", Value("z"));  // -1 as a 32-bit integer
  EXPECT_EQ(w.number(a.object->get("length")), 0);
  // Digits past 32 bits wrap as they are read.
  a.object->set("302231454903657293676544", Value("z"));  // 2^78
  EXPECT_EQ(w.number(a.object->get("length")), 1);
  EXPECT_NE(keysOf(w, a).find("2147483648"), std::string::npos);
}

TEST(Avm1ObjectModel, ArrayOfNegativeLengthHasNoElements) {
  World w(7);
  Value a = w.make("Array", {Value(-1)});
  EXPECT_EQ(w.number(a.object->get("length")), -1);
  EXPECT_EQ(w.text(a), "");
  a.object->set("length", Value(2.5));
  EXPECT_EQ(w.text(a), "undefined,undefined");
  // Lowering the length removes elements from there on, nothing below 0.
  a.object->set("0", Value("kept"));
  a.object->set("-3", Value("kept too"));
  a.object->set("length", Value(-7));
  EXPECT_EQ(keysOf(w, a), "-3");
}

TEST(Avm1ObjectModel, SuperStartsAboveThePrototypeAMethodWasFoundOn) {
  ActionBuilder a, says[3], callsSuper;
  const char* names[3] = {"R", "Q", "P"};
  for (int i = 0; i < 3; ++i) {
    says[i].push(str(names[i])).action(Code::Trace);
    makeObject(a, names[i], i ? names[i - 1] : "");
    setMethod(a, names[i], "who", says[i]);
  }
  makeObject(a, "o", "P");
  callsSuper.push(i32(0))
      .push(str("super"))
      .action(Code::GetVariable)
      .push(str("who"))
      .action(Code::CallMethod)
      .action(Code::Pop);
  setMethod(a, "o", "f", callsSuper);
  setMethod(a, "P", "g", callsSuper);
  callMethod(a, "o", "g");  // found on P: super is Q
  callMethod(a, "o", "f");  // the object's own: as if found on P
  callMethod(a, "P", "g");  // P's own: as if found on Q, so super is R
  EXPECT_EQ(traced(7, a), (std::vector<std::string>{"Q", "Q", "R"}));
}

TEST(Avm1ObjectModel, APrototypeCycleStopsTheScript) {
  ActionBuilder a;
  makeObject(a, "a", "");
  a.push(str("a"))
      .action(Code::GetVariable)
      .push({str("__proto__"), str("a")})
      .action(Code::GetVariable)
      .action(Code::SetMember);
  a.push(str("a")).action(Code::GetVariable).push(str("missing")).action(Code::GetMember).action(Code::Trace);
  a.push(str("not reached")).action(Code::Trace);
  EXPECT_TRUE(traced(6, a).empty());
}

TEST(Avm1ObjectModel, EmptyBoundsRoundOnceAVersion8ClipReportedItsBounds) {
  ActionBuilder a;
  a.push({i32(1), str("c"), i32(2), str("createEmptyMovieClip")}).action(Code::CallFunction).action(Code::Pop);
  for (int i = 0; i < 2; ++i) {
    a.push(i32(0)).push(str("c")).action(Code::GetVariable).push(str("getBounds")).action(Code::CallMethod);
    a.push(str("xMin")).action(Code::GetMember).action(Code::Trace);
  }
  EXPECT_EQ(traced(7, a), (std::vector<std::string>{"6710886.35", "6710886.35"}));
  EXPECT_EQ(traced(8, a), (std::vector<std::string>{"6710886.35", "6710886.4"}));
}

TEST(Avm1ObjectModel, GetPropertyOfANumberThatIsNoneGivesUndefined) {
  ActionBuilder a;
  for (const char* index : {"ABC", "13", "-0.8"})
    a.push({str("/"), str(index)}).action(0x22).action(0x44).action(Code::Trace);
  EXPECT_EQ(traced(5, a), (std::vector<std::string>{"undefined", "string", "number"}));
}

TEST(Avm1ObjectModel, AGetterReadingItselfStopsAtTheNestingLimit) {
  World w(7);
  int runs = 0;
  auto* getter = w.vm.newFunction([&](swf::avm1::Vm&, const Value& self, const swf::avm1::Args&) -> Value {
    ++runs;
    Value inner = self.object->get("k");
    return Value(inner.isUndefined() ? 1.0 : w.number(inner) + 1);
  });
  Value o(w.vm.newObject());
  o.object->addAccessor("k", getter, nullptr);
  // 65 nested runs; the innermost read gives undefined without a call.
  EXPECT_EQ(w.number(o.object->get("k")), 65);
  EXPECT_EQ(runs, 65);
  EXPECT_FALSE(w.vm.unwinding());
  EXPECT_EQ(w.number(o.object->get("k")), 65);
}

}  // namespace
