#include "calendar.h"

#include <cmath>
#include <cstdio>

namespace swf {
namespace avm1 {
namespace {

double floorDiv(double a, double b) { return std::floor(a / b); }
double positiveMod(double a, double b) { return a - std::floor(a / b) * b; }

double dayFromYear(double y) {
  return 365 * (y - 1970) + floorDiv(y - 1969, 4) - floorDiv(y - 1901, 100) + floorDiv(y - 1601, 400);
}

bool leapYear(double y) { return positiveMod(y, 4) == 0 && (positiveMod(y, 100) != 0 || positiveMod(y, 400) == 0); }

double yearFromDay(double day) {
  double y = std::floor(day / 365.2425) + 1970;
  while (dayFromYear(y) > day) --y;
  while (dayFromYear(y + 1) <= day) ++y;
  return y;
}

// Days before each month's first in a common year.
const int kMonthStart[13] = {0, 31, 59, 90, 120, 151, 181, 212, 243, 273, 304, 334, 365};

double monthStart(int month, bool leap) { return kMonthStart[month] + (leap && month >= 2 ? 1 : 0); }

}  // namespace

CalendarFields splitTime(double t) {
  CalendarFields f;
  double day = std::floor(t / kMsPerDay);
  double inDay = t - day * kMsPerDay;
  f.year = yearFromDay(day);
  double dayInYear = day - dayFromYear(f.year);
  bool leap = leapYear(f.year);
  int m = 0;
  while (m < 11 && dayInYear >= monthStart(m + 1, leap)) ++m;
  f.month = m;
  f.date = dayInYear - monthStart(m, leap) + 1;
  f.hours = std::floor(inDay / 3600000);
  f.minutes = positiveMod(std::floor(inDay / 60000), 60);
  f.seconds = positiveMod(std::floor(inDay / 1000), 60);
  f.ms = positiveMod(inDay, 1000);
  f.weekDay = positiveMod(day + 4, 7);
  return f;
}

double makeTime(const CalendarFields& f) {
  const double parts[] = {f.year, f.month, f.date, f.hours, f.minutes, f.seconds, f.ms};
  for (double p : parts) {
    if (!std::isfinite(p)) return NAN;
  }
  double year = std::trunc(f.year) + floorDiv(std::trunc(f.month), 12);
  // Years this far out are past the clip range whatever the other fields.
  if (std::fabs(year) > 400000) return NAN;
  int month = int(positiveMod(std::trunc(f.month), 12));
  double day = dayFromYear(year) + monthStart(month, leapYear(year)) + std::trunc(f.date) - 1;
  double inDay =
      std::trunc(f.hours) * 3600000 + std::trunc(f.minutes) * 60000 + std::trunc(f.seconds) * 1000 + std::trunc(f.ms);
  return clipTime(day * kMsPerDay + inDay);
}

double clipTime(double t) {
  if (!std::isfinite(t) || std::fabs(t) > 8.64e15) return NAN;
  return std::trunc(t) + 0.0;  // no negative zero
}

std::string formatTime(double t) {
  if (std::isnan(t)) return "Invalid Date";
  static const char* kDays[] = {"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"};
  static const char* kMonths[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun", "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
  CalendarFields f = splitTime(t);
  char text[96];
  std::snprintf(text, sizeof text, "%s %s %d %02d:%02d:%02d GMT+0000 %.0f", kDays[int(f.weekDay)],
                kMonths[int(f.month)], int(f.date), int(f.hours), int(f.minutes), int(f.seconds), f.year);
  return text;
}

}  // namespace avm1
}  // namespace swf
