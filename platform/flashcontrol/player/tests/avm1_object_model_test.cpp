// Objects and built-in classes at their edges: array lengths as signed
// 32-bit integers.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "avm1/array_object.h"
#include "avm1_builtin_support.h"

namespace {

using avm1test::Value;
using avm1test::World;

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

}  // namespace
