// Date: a time value in milliseconds, local time being UTC so that every
// run of a movie shows the same dates. "Now" is a fixed moment plus the
// movie's own clock.
#include <algorithm>
#include <cmath>

#include "../calendar.h"
#include "../vm.h"
#include "builtins.h"

namespace swf {
namespace avm1 {
namespace {

// The wall-clock moment a movie starts at: 2005-09-13 00:00:00 UTC.
constexpr double kMovieStartMs = 1126569600000.0;

class DateObject : public Object {
 public:
  DateObject(Vm& vm, Object* proto, double time) : Object(vm, proto), time(time) {}
  bool isDate() const override { return true; }
  double time;
};

DateObject* dateOf(const Value& self) { return dynamic_cast<DateObject*>(self.asObject()); }

double now(Vm& vm) { return clipTime(kMovieStartMs + (vm.host() ? vm.host()->movieTimeMs() : 0)); }

// A time given whole keeps its fraction; only its range is checked.
double timeValue(double t) { return std::isfinite(t) && std::fabs(t) <= 8.64e15 ? t + 0.0 : NAN; }

// Two-digit years name the 1900s.
double fullYear(double y) {
  double whole = std::trunc(y);
  return whole >= 0 && whole <= 99 ? 1900 + whole : y;
}

// Date(y, m, d, h, min, s, ms) and Date.UTC: missing fields after the month
// take their first value.
double timeFromArgs(Vm& vm, const Args& args) {
  CalendarFields f;
  double* slots[] = {&f.year, &f.month, &f.date, &f.hours, &f.minutes, &f.seconds, &f.ms};
  for (size_t i = 0; i < args.size() && i < 7; ++i) *slots[i] = vm.toNumber(args[i]);
  f.year = fullYear(f.year);
  return makeTime(f);
}

using Field = double CalendarFields::*;

void getter(Vm& vm, Object* proto, const char* name, Field field, double offset = 0) {
  vm.defineMethod(
      proto, name,
      [field, offset](Vm&, const Value& self, const Args&) -> Value {
        DateObject* d = dateOf(self);
        if (!d) return Value();
        if (std::isnan(d->time)) return Value(NAN);
        return Value(splitTime(d->time).*field + offset);
      },
      DontEnum | DontDelete);
}

// A setter writes its arguments into consecutive fields from `first`, as
// many as it takes and the call gives; an invalid date stays invalid
// except for the year setters, which start from time 0.
void setter(Vm& vm, Object* proto, const char* name, Field first, int most) {
  static const Field kOrder[] = {&CalendarFields::year,  &CalendarFields::month,   &CalendarFields::date,
                                 &CalendarFields::hours, &CalendarFields::minutes, &CalendarFields::seconds,
                                 &CalendarFields::ms};
  size_t start = 0;
  while (kOrder[start] != first) ++start;
  bool isYear = first == &CalendarFields::year;
  vm.defineMethod(
      proto, name,
      [start, most, isYear](Vm& vm, const Value& self, const Args& args) -> Value {
        DateObject* d = dateOf(self);
        if (!d) return Value();
        double base = d->time;
        if (std::isnan(base)) {
          if (!isYear) return Value(NAN);
          base = 0;
        }
        CalendarFields f = splitTime(base);
        size_t given = std::max<size_t>(1, std::min<size_t>(args.size(), size_t(most)));
        for (size_t i = 0; i < given; ++i) f.*kOrder[start + i] = vm.toNumber(arg(args, i));
        d->time = makeTime(f);
        return Value(d->time);
      },
      DontEnum | DontDelete);
}

void installFieldMethods(Vm& vm, Object* proto) {
  using F = CalendarFields;
  for (const char* zone : {"", "UTC"}) {
    std::string z = zone;
    getter(vm, proto, ("get" + z + "Date").c_str(), &F::date);
    getter(vm, proto, ("get" + z + "Day").c_str(), &F::weekDay);
    getter(vm, proto, ("get" + z + "FullYear").c_str(), &F::year);
    getter(vm, proto, ("get" + z + "Hours").c_str(), &F::hours);
    getter(vm, proto, ("get" + z + "Milliseconds").c_str(), &F::ms);
    getter(vm, proto, ("get" + z + "Minutes").c_str(), &F::minutes);
    getter(vm, proto, ("get" + z + "Month").c_str(), &F::month);
    getter(vm, proto, ("get" + z + "Seconds").c_str(), &F::seconds);
    getter(vm, proto, ("get" + z + "Year").c_str(), &F::year, -1900);
    setter(vm, proto, ("set" + z + "Date").c_str(), &F::date, 1);
    setter(vm, proto, ("set" + z + "FullYear").c_str(), &F::year, 3);
    setter(vm, proto, ("set" + z + "Hours").c_str(), &F::hours, 4);
    setter(vm, proto, ("set" + z + "Milliseconds").c_str(), &F::ms, 1);
    setter(vm, proto, ("set" + z + "Minutes").c_str(), &F::minutes, 3);
    setter(vm, proto, ("set" + z + "Month").c_str(), &F::month, 2);
    setter(vm, proto, ("set" + z + "Seconds").c_str(), &F::seconds, 2);
  }
}

}  // namespace

void installDateClass(Vm& vm) {
  Object* proto = vm.newObject();
  NativeFunction* ctor = vm.defineClass(
      "Date", proto, [](Vm& vm, const Value&, const Args&) -> Value { return Value(formatTime(now(vm))); },
      [](Vm& vm, const Value& self, const Args& args) -> Value {
        Object* made = self.asObject();
        double t = args.empty() ? now(vm) : args.size() == 1 ? timeValue(vm.toNumber(args[0])) : timeFromArgs(vm, args);
        DateObject* d = vm.make<DateObject>(made ? made->proto() : nullptr, t);
        if (made) {
          for (const Property& p : made->ownProperties()) d->define(p.name, p.value, p.flags);
        }
        return Value(d);
      });
  vm.defineMethod(
      ctor, "UTC", [](Vm& vm, const Value&, const Args& args) -> Value { return Value(timeFromArgs(vm, args)); },
      DontEnum | DontDelete | ReadOnly);
  installFieldMethods(vm, proto);
  vm.defineMethod(
      proto, "getTime",
      [](Vm&, const Value& self, const Args&) -> Value {
        DateObject* d = dateOf(self);
        return d ? Value(d->time) : Value();
      },
      DontEnum | DontDelete);
  vm.defineMethod(
      proto, "getTimezoneOffset",
      [](Vm&, const Value& self, const Args&) -> Value {
        DateObject* d = dateOf(self);
        if (!d) return Value();
        return Value(std::isnan(d->time) ? NAN : 0.0);
      },
      DontEnum | DontDelete);
  vm.defineMethod(
      proto, "setTime",
      [](Vm& vm, const Value& self, const Args& args) -> Value {
        DateObject* d = dateOf(self);
        if (!d) return Value();
        d->time = arg(args, 0).isUndefined() ? NAN : clipTime(vm.toNumber(args[0]));
        return Value(d->time);
      },
      DontEnum | DontDelete);
  NativeFn setYear = [](Vm& vm, const Value& self, const Args& args) -> Value {
    DateObject* d = dateOf(self);
    if (!d) return Value();
    CalendarFields f = splitTime(std::isnan(d->time) ? 0 : d->time);
    f.year = fullYear(vm.toNumber(arg(args, 0)));
    d->time = makeTime(f);
    return Value(d->time);
  };
  vm.defineMethod(proto, "setYear", setYear, DontEnum | DontDelete);
  vm.defineMethod(
      proto, "toString",
      [](Vm&, const Value& self, const Args&) -> Value {
        DateObject* d = dateOf(self);
        return d ? Value(formatTime(d->time)) : Value();
      },
      DontEnum | DontDelete);
  vm.defineMethod(
      proto, "valueOf",
      [](Vm&, const Value& self, const Args&) -> Value {
        DateObject* d = dateOf(self);
        return d ? Value(d->time) : Value();
      },
      DontEnum | DontDelete);
}

}  // namespace avm1
}  // namespace swf
