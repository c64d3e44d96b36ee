// Sound objects: their volume, pan and channel mix, and the version 6
// members older movies do not see.
#include <gtest/gtest.h>

#include "avm1_builtin_support.h"

namespace {

using namespace avm1test;

TEST(Avm1Sound, KeepsVolumePanAndOnlyTheNamedChannels) {
  World w;
  Value s = w.make("Sound");
  EXPECT_EQ(w.number(w.call(s, "getVolume")), 100);
  w.call(s, "setVolume", {Value("40.7")});
  w.call(s, "setPan", {Value(-20)});
  EXPECT_EQ(w.number(w.call(s, "getVolume")), 40);
  EXPECT_EQ(w.number(w.call(s, "getPan")), -20);
  // The pan lives in the channel mix: panning right turns the left down.
  w.call(s, "setPan", {Value(30)});
  EXPECT_EQ(w.number(w.call(s, "getTransform").object->get("ll")), 70);
  EXPECT_EQ(w.number(w.call(s, "getTransform").object->get("rr")), 100);
  Value mix = Value(w.vm.newObject());
  mix.object->set("lr", Value(NAN));
  mix.object->set("ll", Value(60));
  w.call(s, "setTransform", {mix});
  Value now = w.call(s, "getTransform");
  EXPECT_EQ(w.number(now.object->get("lr")), 0);
  EXPECT_EQ(w.number(now.object->get("rr")), 100);
  EXPECT_EQ(w.number(w.call(s, "getPan")), 40);
  // No argument leaves the volume as it was.
  w.call(s, "setVolume");
  EXPECT_EQ(w.number(w.call(s, "getVolume")), 40);
}

TEST(Avm1Sound, AClipThatIsNotFoundHasNoSettings) {
  World w;  // the test host has no clips
  Value s = w.make("Sound", {Value("missing")});
  w.call(s, "setVolume", {Value(5)});
  EXPECT_TRUE(w.call(s, "getVolume").isUndefined());
  EXPECT_TRUE(w.call(s, "getTransform").isUndefined());
}

TEST(Avm1Sound, StreamMembersFromVersion6) {
  World old(5);
  Value s = old.make("Sound");
  EXPECT_TRUE(s.object->get("getVolume").isObject());
  EXPECT_TRUE(s.object->get("getDuration").isUndefined());
  World w(6);
  EXPECT_TRUE(w.make("Sound").object->get("getDuration").isObject());
}

}  // namespace
