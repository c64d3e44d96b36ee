// Classes that reach beyond the player (a browser's script, a printer):
// an export has neither, so they refuse, while what they compute alone
// (ExternalInterface's XML encoding) works.
#include <gtest/gtest.h>

#include "avm1/array_object.h"
#include "avm1_builtin_support.h"

namespace {

using namespace avm1test;

Value bridge(World& w, const std::string& method, const avm1test::Args& args) {
  return w.call(w.global("flash.external.ExternalInterface"), method, args);
}

TEST(Avm1ExternalInterface, IsUnavailableAndOnlyInVersion8) {
  World w;
  EXPECT_FALSE(w.vm.toBoolean(w.global("flash.external.ExternalInterface.available")));
  EXPECT_FALSE(w.vm.toBoolean(bridge(w, "addCallback", {Value("f"), Value(), Value()})));
  EXPECT_TRUE(bridge(w, "call", {Value("f")}).isNull());
  World old(7);
  EXPECT_TRUE(old.global("flash").isUndefined());
}

TEST(Avm1ExternalInterface, EncodesValuesAsTheBridgeXml) {
  World w;
  auto xml = [&](const Value& v) { return w.text(bridge(w, "_toXML", {v})); };
  EXPECT_EQ(xml(Value()), "<undefined/>");
  EXPECT_EQ(xml(Value::null()), "<null/>");
  EXPECT_EQ(xml(Value(true)), "<true/>");
  EXPECT_EQ(xml(Value(-2.5)), "<number>-2.5</number>");
  EXPECT_EQ(xml(Value("a<&'")), "<string>a&lt;&amp;&apos;</string>");
  EXPECT_EQ(xml(Value("")), "<string>null</string>");
  Value list = Value(static_cast<avm1test::Object*>(w.vm.newArray({Value(1), Value("x")})));
  EXPECT_EQ(xml(list),
            "<array><property id=\"0\"><number>1</number></property>"
            "<property id=\"1\"><string>x</string></property></array>");
  // The first of a call's arguments is its name, left out.
  EXPECT_EQ(w.text(bridge(w, "_argumentsToXML", {list})), "<arguments><string>x</string></arguments>");
  Value object = Value(w.vm.newObject());
  object.object->set("k", Value(false));
  EXPECT_EQ(xml(object), "<object><property id=\"k\"><false/></property></object>");
  // Anything with a length goes as an array.
  object.object->set("length", Value(1));
  EXPECT_EQ(xml(object), "<array><property id=\"0\"><undefined/></property></array>");
  // A structure holding itself ends rather than overflowing.
  object.object->set("0", object);
  EXPECT_FALSE(xml(object).empty());
}

TEST(Avm1ExternalInterface, UnescapesTheFiveEntitiesExactlyOnce) {
  World w;
  EXPECT_EQ(w.text(bridge(w, "_unescapeXML", {Value("&amp;gt; &LT; &quot;&apos;")})), "&gt; &LT; \"'");
  EXPECT_TRUE(bridge(w, "_unescapeXML", {Value("")}).isNull());
  EXPECT_TRUE(bridge(w, "_unescapeXML", {}).isNull());
  EXPECT_EQ(w.text(bridge(w, "_escapeXML", {Value("<>")})), "&lt;&gt;");
}

TEST(Avm1PrintJob, NeverStartsAndItsSizesAreReadOnlyZeros) {
  World w;
  Value job = w.make("PrintJob");
  EXPECT_FALSE(w.vm.toBoolean(w.call(job, "start")));
  EXPECT_FALSE(w.vm.toBoolean(w.call(job, "addPage", {Value(0)})));
  job.object->set("pageWidth", Value("wide"));
  EXPECT_EQ(w.number(job.object->get("pageWidth")), 0);
  std::vector<std::string> names = job.object->enumerableNames();
  EXPECT_EQ(names, (std::vector<std::string>{"orientation", "pageWidth", "pageHeight", "paperWidth", "paperHeight"}));
  EXPECT_TRUE(World(6).make("PrintJob").isUndefined());
}

}  // namespace
