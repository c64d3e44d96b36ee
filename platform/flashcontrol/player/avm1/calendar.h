// Time values as dates: milliseconds since 1970-01-01 UTC split into
// calendar fields and built back, with the proleptic Gregorian calendar
// ECMAScript uses. NaN stands for an invalid date throughout.
#pragma once

#include <string>

namespace swf {
namespace avm1 {

constexpr double kMsPerDay = 86400000.0;

struct CalendarFields {
  double year = 0, month = 0, date = 1;  // month 0-11, date 1-31
  double hours = 0, minutes = 0, seconds = 0, ms = 0;
  double weekDay = 0;  // 0 is Sunday
};

// The fields of a valid time value.
CalendarFields splitTime(double t);
// Fields (any of them out of range, as setters pass them) to a time value;
// NaN when one is not finite or the result is past the representable range.
double makeTime(const CalendarFields& f);
// NaN outside +-8.64e15, else the integer part.
double clipTime(double t);
// "Thu Jan 1 00:00:00 GMT+0000 1970", or "Invalid Date".
std::string formatTime(double t);

}  // namespace avm1
}  // namespace swf
