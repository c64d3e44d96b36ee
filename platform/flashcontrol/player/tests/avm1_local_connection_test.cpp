// LocalConnection: one connection per name (names ignore case), freed by close.
#include <gtest/gtest.h>

#include "avm1_builtin_support.h"

namespace {

using namespace avm1test;

TEST(Avm1LocalConnection, ANameServesOneConnectionUntilClosed) {
  World w;
  Value a = w.make("LocalConnection");
  Value b = w.make("LocalConnection");
  EXPECT_TRUE(w.vm.toBoolean(w.call(a, "connect", {Value("Channel")})));
  EXPECT_FALSE(w.vm.toBoolean(w.call(b, "connect", {Value("channel")})));
  // A connection holds one name at a time.
  EXPECT_FALSE(w.vm.toBoolean(w.call(a, "connect", {Value("other")})));
  w.call(a, "close");
  EXPECT_TRUE(w.vm.toBoolean(w.call(b, "connect", {Value("channel")})));
  EXPECT_FALSE(w.vm.toBoolean(w.call(a, "connect", {Value(5)})));
}

TEST(Avm1LocalConnection, SendNeedsANameAndAMethod) {
  World w;
  Value a = w.make("LocalConnection");
  EXPECT_TRUE(w.vm.toBoolean(w.call(a, "send", {Value("nowhere"), Value("m")})));
  EXPECT_FALSE(w.vm.toBoolean(w.call(a, "send", {Value("nowhere")})));
  EXPECT_EQ(w.text(w.call(a, "domain")), "localhost");
  World old(5);
  EXPECT_TRUE(old.global("LocalConnection").isUndefined());
}

}  // namespace
