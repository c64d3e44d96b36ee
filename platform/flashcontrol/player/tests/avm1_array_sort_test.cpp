// Array sort and sortOn: which arguments are flags, flags given one a field,
// and what sortOn compares for elements that are not objects.
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "avm1/array_object.h"
#include "avm1_builtin_support.h"

namespace {

using avm1test::World;
using swf::avm1::Object;
using swf::avm1::Value;

enum Flag { CaseInsensitive = 1, Descending = 2, UniqueSort = 4, IndexedArray = 8, Numeric = 16 };

Value numbers(World& w, std::initializer_list<double> items) {
  std::vector<Value> values;
  for (double n : items) values.push_back(Value(n));
  return Value(static_cast<Object*>(w.vm.newArray(values)));
}

// Objects {n, b} in the order given.
Value records(World& w, const std::vector<std::pair<std::string, double>>& items) {
  std::vector<Value> values;
  for (const auto& item : items) {
    Object* o = w.vm.newObject();
    o->set("n", Value(std::string(item.first)));
    o->set("b", Value(item.second));
    values.push_back(Value(o));
  }
  return Value(static_cast<Object*>(w.vm.newArray(values)));
}

std::string describe(World& w, const Value& list) {
  std::string text;
  Object* array = list.asObject();
  const double length = array ? w.number(array->get("length")) : 0;
  for (int i = 0; i < int(length); ++i) {
    Object* o = array->get(std::to_string(i)).asObject();
    if (!text.empty()) text += ",";
    text += o ? w.text(o->get("n")) + w.text(o->get("b")) : w.text(array->get(std::to_string(i)));
  }
  return text;
}

TEST(ArraySort, ArgumentsThatAreNotFlagsOrFunctionsSortNothing) {
  World w(8);
  for (const Value& first : {Value(), Value::null(), Value(true)}) {
    Value list = numbers(w, {2, 1});
    EXPECT_TRUE(w.call(list, "sort", {first}).isUndefined());
    EXPECT_TRUE(w.call(list, "sort", {first, Value(0.0)}).isUndefined());
    EXPECT_EQ("2,1", w.text(list));
  }
  Value list = numbers(w, {2, 1});
  EXPECT_EQ("1,2", w.text(w.call(list, "sort", {Value(std::nan(""))})));
  Value objects = numbers(w, {3, 1});
  EXPECT_EQ("1,3", w.text(w.call(objects, "sort", {Value(w.vm.newObject())})));
}

TEST(ArraySort, ASecondArgumentIsTheFlagsEvenAfterANumber) {
  World w(8);
  EXPECT_EQ("1,2,3",
            w.text(w.call(numbers(w, {2, 3, 1}), "sort", {Value(double(Descending)), Value(double(Numeric))})));
  EXPECT_EQ("3,2,1", w.text(w.call(numbers(w, {2, 3, 1}), "sort", {Value(55.0), Value()})));
  EXPECT_EQ("22,3,1", w.text(w.call(numbers(w, {3, 22, 1}), "sort", {Value(double(Descending | Numeric))})));
}

TEST(ArraySortOn, FlagsOneAFieldWhenTheArrayMatchesTheFields) {
  World w(8);
  Value fields(static_cast<Object*>(w.vm.newArray({Value(std::string("n")), Value(std::string("b"))})));
  auto flags = [&](std::initializer_list<double> items) { return numbers(w, items); };
  Value list = records(w, {{"foo", 2}, {"foo", 10}, {"bar", 3}, {"BAR", 22}});
  w.call(list, "sortOn", {fields, flags({CaseInsensitive, Numeric})});
  EXPECT_EQ("bar3,BAR22,foo2,foo10", describe(w, list));
  // Another length: no flags at all (case-sensitive, ascending, as text).
  w.call(list, "sortOn", {fields, flags({Descending})});
  EXPECT_EQ("BAR22,bar3,foo10,foo2", describe(w, list));
  // The first entry decides what comes back.
  Value indices = w.call(list, "sortOn", {fields, flags({IndexedArray, Numeric})});
  EXPECT_EQ("BAR22,bar3,foo10,foo2", describe(w, list));
  EXPECT_EQ("0,1,3,2", w.text(indices));
  EXPECT_EQ(0, w.number(w.call(records(w, {{"x", 1}, {"x", 1}}), "sortOn", {fields, flags({UniqueSort, 0})})));
  Value later = w.call(list, "sortOn", {fields, flags({0, IndexedArray | UniqueSort})});
  EXPECT_EQ(list.asObject(), later.asObject());
}

TEST(ArraySortOn, OtherObjectsAreNoFlagsAndPlainElementsCompareAsThemselves) {
  World w(8);
  Value list = records(w, {{"b", 1}, {"a", 2}});
  Value result = w.call(list, "sortOn", {Value(std::string("n")), w.make("String", {Value(std::string("8"))})});
  EXPECT_EQ(list.asObject(), result.asObject());
  EXPECT_EQ("a2,b1", describe(w, list));
  std::vector<Value> words;
  for (const char* s : {"test", "asdf", "bar", "a"}) words.push_back(Value(std::string(s)));
  Value plain(static_cast<Object*>(w.vm.newArray(words)));
  w.call(plain, "sortOn", {Value(std::string("length")), Value(double(Numeric))});
  EXPECT_EQ("a,asdf,bar,test", w.text(plain));
}

}  // namespace
