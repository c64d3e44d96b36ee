// Date's calendar arithmetic and its methods, and Error.
#include <gtest/gtest.h>

#include <cmath>

#include "avm1_builtin_support.h"

namespace {

using namespace avm1test;

TEST(Avm1Date, FieldsOfATimeValueAcrossYearsLeapDaysAndBeforeTheEpoch) {
  World w;
  Value d = w.make("Date", {Value(0)});
  EXPECT_EQ(w.text(d), "Thu Jan 1 00:00:00 GMT+0000 1970");
  EXPECT_EQ(w.number(w.call(d, "setTime", {Value(-1)})), -1);
  EXPECT_EQ(w.text(d), "Wed Dec 31 23:59:59 GMT+0000 1969");
  EXPECT_EQ(w.number(w.call(d, "getMilliseconds")), 999);
  // 2000 is a leap year, 1900 and 2100 are not.
  w.call(d, "setTime", {Value(951782400000.0)});  // 2000-02-29
  EXPECT_EQ(w.number(w.call(d, "getMonth")), 1);
  EXPECT_EQ(w.number(w.call(d, "getDate")), 29);
  EXPECT_EQ(w.number(w.call(d, "getDay")), 2);
  Value feb1900 = w.make("Date", {Value(1900), Value(1), Value(29)});
  EXPECT_EQ(w.text(feb1900), "Thu Mar 1 00:00:00 GMT+0000 1900");
  Value dec2100 = w.make("Date", {Value(2100), Value(11), Value(31), Value(23), Value(59), Value(59), Value(999)});
  EXPECT_EQ(w.number(w.call(dec2100, "getUTCFullYear")), 2100);
  EXPECT_EQ(w.number(w.call(dec2100, "getYear")), 200);
  EXPECT_EQ(w.number(w.call(dec2100, "getTimezoneOffset")), 0);
  Value bc = w.make("Date", {Value(-1), Value(0), Value(1)});
  EXPECT_EQ(w.number(w.call(bc, "getFullYear")), -1);
  EXPECT_EQ(w.number(w.call(bc, "getMonth")), 0);
}

TEST(Avm1Date, ConstructorReadsTwoDigitYearsAndOverflowingFields) {
  World w;
  EXPECT_EQ(w.number(w.call(w.make("Date", {Value(99), Value(0)}), "getFullYear")), 1999);
  EXPECT_EQ(w.number(w.call(w.make("Date", {Value(100), Value(0)}), "getFullYear")), 100);
  // Month 12 is January of the next year; day 0 is the last of the month before.
  Value d = w.make("Date", {Value(2004), Value(12), Value(0)});
  EXPECT_EQ(w.text(d), "Fri Dec 31 00:00:00 GMT+0000 2004");
  EXPECT_EQ(w.number(w.call(w.global("Date"), "UTC", {Value(1970), Value(0), Value(2)})), 86400000);
}

TEST(Avm1Date, TimeValuesAreWholeAndLimited) {
  World w;
  Value d = w.make("Date", {Value(0)});
  EXPECT_EQ(w.number(w.call(d, "setTime", {Value(123124.9)})), 123124);
  EXPECT_EQ(w.number(w.call(d, "setTime", {Value(-123124.9)})), -123124);
  EXPECT_EQ(w.number(w.call(d, "setTime", {Value(8.64e15)})), 8.64e15);
  EXPECT_TRUE(std::isnan(w.number(w.call(d, "setTime", {Value(8.64e15 + 1)}))));
  EXPECT_EQ(w.text(d), "Invalid Date");
  EXPECT_TRUE(std::isnan(w.number(w.call(d, "getHours"))));
  // Only the year setters bring an invalid date back.
  EXPECT_TRUE(std::isnan(w.number(w.call(d, "setHours", {Value(3)}))));
  EXPECT_EQ(w.number(w.call(d, "setFullYear", {Value(1970)})), 0);
  EXPECT_TRUE(std::isnan(w.number(w.call(d, "setTime", {Value(HUGE_VAL)}))));
  EXPECT_EQ(w.number(w.call(d, "setYear", {Value(70)})), 0);
}

TEST(Avm1Date, SettersTakeTheirOptionalFieldsAndCarryOver) {
  World w;
  Value d = w.make("Date", {Value(2001), Value(4), Value(15), Value(10), Value(20), Value(30)});
  w.call(d, "setHours", {Value(25), Value(61)});
  EXPECT_EQ(w.text(d), "Wed May 16 02:01:30 GMT+0000 2001");
  w.call(d, "setMonth", {Value(1), Value(30)});  // Feb 30 runs into March
  EXPECT_EQ(w.text(d), "Fri Mar 2 02:01:30 GMT+0000 2001");
  w.call(d, "setUTCSeconds", {Value(-1)});
  EXPECT_EQ(w.text(d), "Fri Mar 2 02:00:59 GMT+0000 2001");
  w.call(d, "setFullYear", {Value(2002), Value(0), Value(1)});
  EXPECT_EQ(w.text(d), "Tue Jan 1 02:00:59 GMT+0000 2002");
  double returned = w.number(w.call(d, "setMilliseconds", {Value(5)}));
  EXPECT_EQ(returned, w.number(w.call(d, "getTime")));
  EXPECT_EQ(w.number(w.call(d, "getMilliseconds")), 5);
}

TEST(Avm1Date, NowFollowsTheMovieClock) {
  World w;
  double first = w.number(w.call(w.make("Date"), "getTime"));
  w.host.clockMs = 1500.5;
  double later = w.number(w.call(w.make("Date"), "getTime"));
  EXPECT_EQ(later - first, 1500);
  World again;
  EXPECT_EQ(again.number(again.call(again.make("Date"), "getTime")), first);
}

TEST(Avm1Date, ConvertsAsTextFromVersionSixAndAsANumberBefore) {
  World v5(5), v6(6);
  Value d5 = v5.make("Date", {Value(1000)});
  Value d6 = v6.make("Date", {Value(1000)});
  EXPECT_EQ(v5.vm.toPrimitive(d5).number, 1000);
  EXPECT_EQ(v6.vm.toPrimitive(d6).text, "Thu Jan 1 00:00:01 GMT+0000 1970");
  EXPECT_EQ(v6.number(d6), 1000);
  // Methods on something that is no date give nothing.
  EXPECT_TRUE(v6.call(Value(v6.vm.newObject()), "getTime").isUndefined());
}

TEST(Avm1Error, MessageAndNameComeFromThePrototypeUntilSet) {
  World w;
  Value e = w.make("Error");
  EXPECT_EQ(w.text(e), "Error");
  EXPECT_EQ(w.text(e.object->get("name")), "Error");
  EXPECT_FALSE(e.object->hasOwn("message"));
  Value undefinedMessage = w.make("Error", {Value()});
  EXPECT_FALSE(undefinedMessage.object->hasOwn("message"));
  Value nullMessage = w.make("Error", {Value::null()});
  EXPECT_EQ(w.text(w.call(nullMessage, "toString")), "null");
  Value custom = w.make("Error", {Value("Bad thing")});
  EXPECT_EQ(w.text(custom), "Bad thing");
  custom.object->set("name", Value("MyError"));
  EXPECT_EQ(w.text(custom), "Bad thing");
  EXPECT_TRUE(w.vm.instanceOf(custom, w.vm.global()->get("Error").asObject()));
  // Called without new, it still answers an Error.
  Value called = w.vm.call(w.vm.global()->get("Error"), Value(), {Value("plain")});
  ASSERT_TRUE(called.isObject());
  EXPECT_EQ(w.text(called), "plain");
  EXPECT_TRUE(w.vm.instanceOf(called, w.vm.global()->get("Error").asObject()));
}

}  // namespace
