// Rules of the core objects: properties hidden by version bits,
// ASSetPropFlags' name lists, listener matching, conversions that throw.
#include <gtest/gtest.h>

#include "avm1/array_object.h"
#include "avm1_builtin_support.h"

namespace {

using namespace avm1test;

void setFlags(World& w, const Value& o, const Value& names, int set, int clear = 0) {
  w.call(Value(w.vm.global()), "ASSetPropFlags", {o, names, Value(set), Value(clear)});
}

TEST(Avm1CoreRules, AVersionHiddenPropertyIsStillOwnEnumeratedAndDeleted) {
  World w(8);
  Value o(w.vm.newObject());
  o.object->set("prop", Value("v"));
  setFlags(w, o, Value("prop"), 0x4000);  // hidden before version 10
  EXPECT_TRUE(o.object->get("prop").isUndefined());
  EXPECT_TRUE(w.vm.toBoolean(w.call(o, "hasOwnProperty", {Value("prop")})));
  EXPECT_EQ(o.object->enumerableNames(), std::vector<std::string>{"prop"});
  // Writing replaces it with a plain visible property.
  o.object->set("prop", Value("again"));
  EXPECT_EQ(w.text(o.object->get("prop")), "again");
  setFlags(w, o, Value("prop"), 0x4000);
  EXPECT_TRUE(o.object->remove("prop"));
  EXPECT_FALSE(w.vm.toBoolean(w.call(o, "hasOwnProperty", {Value("prop")})));
  // A version 10 movie reads it; version 9 bits do not hide from version 9.
  World v10(10);
  Value p(v10.vm.newObject());
  p.object->set("a", Value(1));
  p.object->set("b", Value(2));
  setFlags(v10, p, Value("a"), 0x4000);
  EXPECT_EQ(v10.number(p.object->get("a")), 1);
  World v9(9);
  Value q(v9.vm.newObject());
  q.object->set("b", Value(2));
  setFlags(v9, q, Value("b"), 0x2000);
  EXPECT_EQ(v9.number(q.object->get("b")), 2);
}

TEST(Avm1CoreRules, SetPropFlagsNamesAreAnArrayOrTextOfAnythingElse) {
  World w;
  Value o(w.vm.newObject());
  for (const char* n : {"a", "b", "c", "undefined"}) o.object->set(n, Value(1));
  // An object that is no array gives its names through toString.
  Value names(w.vm.newObject());
  names.object->set("toString", Value(w.vm.newFunction([](Vm&, const Value&, const Args&) { return Value("a,b"); })));
  names.object->set("length", Value(1));
  names.object->set("0", Value("c"));
  setFlags(w, o, names, 1);
  EXPECT_EQ(o.object->enumerableNames(), (std::vector<std::string>{"undefined", "c"}));
  // undefined is the name "undefined"; an array lists its elements.
  setFlags(w, o, Value(), 1);
  Value list(static_cast<Object*>(w.vm.newArray({Value("c")})));
  setFlags(w, o, list, 1);
  EXPECT_TRUE(o.object->enumerableNames().empty());
}

TEST(Avm1CoreRules, HasOwnPropertyNeverOwnsTheEmptyName) {
  World w;
  Value o(w.vm.newObject());
  o.object->set("", Value("x"));
  o.object->set("undefined", Value("y"));
  EXPECT_FALSE(w.vm.toBoolean(w.call(o, "hasOwnProperty", {Value("")})));
  EXPECT_TRUE(w.vm.toBoolean(w.call(o, "hasOwnProperty", {Value()})));
}

TEST(Avm1CoreRules, ListenersMatchLooselyAndAnEmptyMessageCallsThem) {
  World w;
  Value b(w.vm.newObject());
  w.call(w.global("AsBroadcaster"), "initialize", {b});
  Object* list = b.object->get("_listeners").asObject();
  w.call(b, "addListener", {Value()});
  w.call(b, "addListener", {Value::null()});  // null == undefined: takes its place
  EXPECT_EQ(w.number(list->get("length")), 1);
  EXPECT_FALSE(w.vm.toBoolean(w.call(b, "removeListener", {Value(false)})));
  EXPECT_TRUE(w.vm.toBoolean(w.call(b, "removeListener", {Value()})));
  EXPECT_EQ(w.number(list->get("length")), 0);
  Value fn(w.vm.newFunction([](Vm& vm, const Value&, const Args& args) {
    vm.trace("called with " + std::to_string(args.size()));
    return Value();
  }));
  w.call(b, "addListener", {fn});
  w.call(b, "broadcastMessage", {Value(""), Value(1), Value(2)});
  EXPECT_EQ(w.host.lines, std::vector<std::string>{"called with 2"});
}

TEST(Avm1CoreRules, TextOfAnObjectWhoseToStringThrowsIsItsType) {
  World w;
  Value o(w.vm.newObject());
  o.object->set("toString", Value(w.vm.newFunction([](Vm& vm, const Value&, const Args&) {
                  vm.throwValue(Value("boom"));
                  return Value();
                })));
  EXPECT_EQ(w.text(o), "[type Object]");
  EXPECT_TRUE(w.vm.unwinding());
  EXPECT_EQ(w.text(w.vm.takeException()), "boom");
}

TEST(Avm1CoreRules, ObjectAndFunctionCalledWithNothingGiveAnObjectThatInheritsNothing) {
  World w;
  for (const char* name : {"Object", "Function"}) {
    Value o = w.vm.call(w.global(name), Value(), {});
    ASSERT_TRUE(o.isObject()) << name;
    EXPECT_EQ(o.object->proto(), nullptr) << name;
    EXPECT_EQ(w.text(o), "[type Object]") << name;
  }
  // Something to box is given back boxed.
  EXPECT_EQ(w.text(w.vm.call(w.global("Object"), Value(), {Value("t")})), "t");
}

TEST(Avm1CoreRules, AStringObjectsLengthIsWritableButStays) {
  World w;
  Value s = w.make("String", {Value("abcd")});
  ASSERT_TRUE(s.isObject());
  s.object->set("length", Value("hmm"));
  EXPECT_EQ(w.text(s.object->get("length")), "hmm");
  EXPECT_FALSE(s.object->remove("length"));
  EXPECT_TRUE(s.object->enumerableNames().empty());
}

TEST(Avm1CoreRules, IsFiniteWantsAnArgumentAndVersion6NoTrailingSpace) {
  World v6(6), v8(8);
  EXPECT_FALSE(v6.vm.toBoolean(v6.call(Value(v6.vm.global()), "isFinite")));
  EXPECT_TRUE(v6.vm.toBoolean(v6.call(Value(v6.vm.global()), "isFinite", {Value("  5")})));
  EXPECT_FALSE(v6.vm.toBoolean(v6.call(Value(v6.vm.global()), "isFinite", {Value("  5  ")})));
  EXPECT_EQ(v8.number(Value("  5  ")), 5);
}

TEST(Avm1CoreRules, SplitGivesTheWholeTextWithoutASeparatorOrWhenEmptyFromVersion6) {
  auto count = [](int version, const char* text, const Args& args) {
    World w(version);
    Value r = w.call(Value(text), "split", args);
    return r.isObject() ? w.number(r.object->get("length")) : -1;
  };
  EXPECT_EQ(count(6, "", {Value("x"), Value(0)}), 1);
  EXPECT_EQ(count(5, "", {Value("x"), Value(0)}), 0);
  EXPECT_EQ(count(6, "a,b", {Value(","), Value(0)}), 0);
  EXPECT_EQ(count(6, "a,b", {Value(), Value(0)}), 1);
  EXPECT_EQ(count(6, "", {Value("")}), 0);
  EXPECT_EQ(count(7, "a,b", {Value(",")}), 2);
}

}  // namespace
