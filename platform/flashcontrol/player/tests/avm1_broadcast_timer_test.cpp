// AsBroadcaster's listener list and messages; setInterval and setTimeout on
// the movie clock, alone and in a playing movie.
#include <gtest/gtest.h>

#include <memory>

#include "avm1/timers.h"
#include "avm1_builtin_support.h"
#include "swf_builder.h"
#include "timeline/stage.h"

namespace {

using namespace avm1test;

// An object whose method `name` appends "who:args" to the host's lines.
Value listener(World& w, const std::string& who, const std::string& name) {
  Object* o = w.vm.newObject();
  w.vm.defineMethod(o, name, [who](Vm& vm, const Value&, const Args& args) -> Value {
    std::string line = who + ":";
    for (const Value& a : args) line += vm.toString(a);
    vm.trace(line);
    return Value();
  });
  return Value(o);
}

Value broadcaster(World& w) {
  Value b(w.vm.newObject());
  w.call(w.global("AsBroadcaster"), "initialize", {b});
  return b;
}

TEST(Avm1AsBroadcaster, InitializeGivesAListAndTheMethodsAsTheyAreNow) {
  World w;
  Value b = broadcaster(w);
  Object* list = b.object->get("_listeners").asObject();
  ASSERT_NE(list, nullptr);
  EXPECT_TRUE(list->isArray());
  EXPECT_TRUE(w.vm.strictEquals(b.object->get("addListener"), w.global("AsBroadcaster.addListener")));
  EXPECT_TRUE(b.object->enumerableNames().empty());
  // A later override of AsBroadcaster's member is what the next initialize copies.
  Value replaced(w.vm.newFunction([](Vm&, const Value&, const Args&) { return Value("mine"); }));
  w.global("AsBroadcaster").object->set("addListener", replaced);
  Value later = broadcaster(w);
  EXPECT_EQ(w.text(w.call(later, "addListener", {Value(1)})), "mine");
  // broadcastMessage stays the built-in one.
  w.global("AsBroadcaster").object->set("broadcastMessage", replaced);
  EXPECT_FALSE(w.vm.strictEquals(broadcaster(w).object->get("broadcastMessage"), replaced));
  // Movies before version 6 do not see AsBroadcaster, but Key still has listeners.
  World v5(5);
  EXPECT_TRUE(v5.global("AsBroadcaster").isUndefined());
  EXPECT_TRUE(v5.global("Key._listeners").isObject());
  EXPECT_TRUE(w.vm.strictEquals(w.global("Key.addListener"), w.global("Mouse.addListener")));
}

TEST(Avm1AsBroadcaster, ListenersAreUniqueAndHearInTheOrderAdded) {
  World w;
  Value b = broadcaster(w);
  Value one = listener(w, "one", "onPing"), two = listener(w, "two", "onPing");
  EXPECT_TRUE(w.call(b, "broadcastMessage", {Value("onPing")}).isUndefined());
  EXPECT_TRUE(w.vm.toBoolean(w.call(b, "addListener", {one})));
  w.call(b, "addListener", {two});
  w.call(b, "addListener", {one});  // moves to the end
  EXPECT_EQ(w.number(b.object->get("_listeners").object->get("length")), 2);
  EXPECT_TRUE(w.vm.toBoolean(w.call(b, "broadcastMessage", {Value("onPing"), Value(1), Value("x")})));
  EXPECT_EQ(w.host.lines, (std::vector<std::string>{"two:1x", "one:1x"}));
  EXPECT_TRUE(w.vm.toBoolean(w.call(b, "removeListener", {two})));
  EXPECT_FALSE(w.vm.toBoolean(w.call(b, "removeListener", {two})));
  // Listeners without the method are passed over.
  w.call(b, "addListener", {listener(w, "other", "onPong")});
  w.host.lines.clear();
  w.call(b, "broadcastMessage", {Value("onPing")});
  EXPECT_EQ(w.host.lines, (std::vector<std::string>{"one:"}));
}

TEST(Avm1AsBroadcaster, AListenerRemovedDuringAMessageStillHearsIt) {
  World w;
  Value b = broadcaster(w);
  Object* quitter = w.vm.newObject();
  Value bv = b;
  w.vm.defineMethod(quitter, "onPing", [bv](Vm& vm, const Value& self, const Args&) -> Value {
    vm.trace("quitter");
    vm.callMethod(bv, "removeListener", {self});
    return Value();
  });
  w.call(b, "addListener", {Value(quitter)});
  w.call(b, "addListener", {listener(w, "stayer", "onPing")});
  w.call(b, "broadcastMessage", {Value("onPing")});
  w.call(b, "broadcastMessage", {Value("onPing")});
  EXPECT_EQ(w.host.lines, (std::vector<std::string>{"quitter", "stayer:", "stayer:"}));
}

TEST(Avm1AsBroadcaster, OnlyListenersThatAreSomethingMakeTheAnswerTrue) {
  World w(6);
  Value b = broadcaster(w);
  Object* list = b.object->get("_listeners").asObject();
  list->set("length", Value(1.0));  // a hole: undefined
  EXPECT_TRUE(w.call(b, "broadcastMessage", {Value("onPing")}).isUndefined());
  list->set("1", Value::null());
  EXPECT_TRUE(w.call(b, "broadcastMessage", {Value("onPing")}).isUndefined());
  list->set("2", Value("hi"));  // no such method, but someone was told
  EXPECT_TRUE(w.vm.toBoolean(w.call(b, "broadcastMessage", {Value("onPing")})));
}

TEST(Avm1Timers, QueueOrdersByDueTimeAndRepeatsIntervals) {
  swf::avm1::TimerQueue q;
  int every = q.add(Value(1), "", {}, 100, 0, true);
  int once = q.add(Value(2), "", {}, 150, 0, false);
  int zero = q.add(Value(3), "", {}, 0, 0, false);
  EXPECT_EQ(every, 1);
  EXPECT_EQ(once, 2);
  swf::avm1::Timer t;
  EXPECT_FALSE(q.takeDue(9, t));
  ASSERT_TRUE(q.takeDue(10, t));  // a zero delay waits the shortest interval
  EXPECT_EQ(t.id, zero);
  ASSERT_TRUE(q.takeDue(250, t));
  EXPECT_EQ(t.id, every);
  ASSERT_TRUE(q.takeDue(250, t));
  EXPECT_EQ(t.id, once);
  // The interval missed 200 while away: it is next due at 300.
  EXPECT_FALSE(q.takeDue(299, t));
  ASSERT_TRUE(q.takeDue(300, t));
  EXPECT_EQ(t.id, every);
  EXPECT_TRUE(q.clear(every));
  EXPECT_FALSE(q.clear(once));
  EXPECT_EQ(q.size(), 0u);
}

TEST(Avm1Timers, SetIntervalTakesAFunctionOrAMethodAndItsArguments) {
  World w;
  Value fn(w.vm.newFunction([](Vm&, const Value&, const Args&) { return Value(); }));
  Value first = w.call(Value(w.vm.global()), "setInterval", {fn, Value(50), Value("a")});
  Value second = w.call(Value(w.vm.global()), "setTimeout", {listener(w, "x", "m"), Value("m"), Value(20)});
  EXPECT_EQ(w.number(first), 1);
  EXPECT_EQ(w.number(second), 2);
  EXPECT_TRUE(w.call(Value(w.vm.global()), "setInterval", {Value("nothing"), Value(5)}).isUndefined());
  EXPECT_TRUE(w.call(Value(w.vm.global()), "setInterval", {fn}).isUndefined());
  swf::avm1::Timer t;
  ASSERT_TRUE(w.vm.timers().takeDue(20, t));
  EXPECT_EQ(t.method, "m");
  w.call(Value(w.vm.global()), "clearInterval", {first});
  EXPECT_FALSE(w.vm.timers().takeDue(1000, t));
}

// setInterval(this, "nextFrame", delay) on a stopped movie of 10 frames at 12 fps.
mvqtest::Bytes movieAdvancingEvery(int delayMs, const char* kind) {
  using mvqtest::PushValue;
  mvqtest::ActionBuilder a;
  a.stop()
      .push({PushValue::integer(delayMs), PushValue::string("nextFrame"), PushValue::string("this")})
      .action(0x1C)
      .push({PushValue::integer(3), PushValue::string(kind)})
      .action(0x3D)
      .action(0x17);
  mvqtest::SwfBuilder b;
  b.version(7);
  b.doAction(a);
  for (int f = 0; f < 10; ++f) b.showFrame();
  return b.finish();
}

int frameAfterTicks(const mvqtest::Bytes& bytes, int ticks) {
  swf::Movie movie;
  EXPECT_TRUE(movie.parse(bytes));
  swf::Stage stage(movie);
  for (int i = 0; i < ticks; ++i) stage.tick(true);
  return stage.root().currentFrame();
}

TEST(Avm1Timers, IntervalsAndTimeoutsRunOnTheMovieClock) {
  // 250 ms is three ticks of 83.3 ms.
  EXPECT_EQ(frameAfterTicks(movieAdvancingEvery(250, "setInterval"), 2), 0);
  EXPECT_EQ(frameAfterTicks(movieAdvancingEvery(250, "setInterval"), 3), 1);
  EXPECT_EQ(frameAfterTicks(movieAdvancingEvery(250, "setInterval"), 7), 2);
  EXPECT_EQ(frameAfterTicks(movieAdvancingEvery(250, "setTimeout"), 8), 1);
  // Intervals shorter than a frame run once a tick.
  EXPECT_EQ(frameAfterTicks(movieAdvancingEvery(40, "setInterval"), 1), 1);
  EXPECT_EQ(frameAfterTicks(movieAdvancingEvery(40, "setInterval"), 3), 3);
}

}  // namespace
