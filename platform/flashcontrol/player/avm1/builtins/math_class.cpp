// Math: constants and functions; random is the movie's own seeded sequence.
#include <cmath>

#include "../vm.h"
#include "builtins.h"

namespace swf {
namespace avm1 {
namespace {

using Unary = double (*)(double);

void unary(Vm& vm, Object* math, const char* name, Unary f) {
  vm.defineMethod(math, name, [f](Vm& vm, const Value&, const Args& args) -> Value {
    if (args.empty()) return Value(std::nan(""));
    double x = vm.toNumber(args[0]);
    // The real player converts a second argument too (its valueOf runs).
    if (args.size() > 1) vm.toNumber(args[1]);
    return Value(f(x));
  });
}

// Rounds half up, as the real player does (-2.5 gives -2).
double roundHalfUp(double x) { return std::floor(x + 0.5); }

}  // namespace

void installMathClass(Vm& vm) {
  Object* math = vm.newObject();
  vm.global()->define("Math", Value(math), DontEnum);
  uint16_t fixed = DontEnum | DontDelete | ReadOnly;
  math->define("E", Value(2.718281828459045), fixed);
  math->define("LN10", Value(2.302585092994046), fixed);
  math->define("LN2", Value(0.6931471805599453), fixed);
  math->define("LOG10E", Value(0.4342944819032518), fixed);
  math->define("LOG2E", Value(1.4426950408889634), fixed);
  math->define("PI", Value(3.141592653589793), fixed);
  math->define("SQRT1_2", Value(0.7071067811865476), fixed);
  math->define("SQRT2", Value(1.4142135623730951), fixed);
  unary(vm, math, "abs", [](double x) { return std::fabs(x); });
  unary(vm, math, "acos", [](double x) { return std::acos(x); });
  unary(vm, math, "asin", [](double x) { return std::asin(x); });
  unary(vm, math, "atan", [](double x) { return std::atan(x); });
  unary(vm, math, "ceil", [](double x) { return std::ceil(x); });
  unary(vm, math, "cos", [](double x) { return std::cos(x); });
  unary(vm, math, "exp", [](double x) { return std::exp(x); });
  unary(vm, math, "floor", [](double x) { return std::floor(x); });
  unary(vm, math, "log", [](double x) { return std::log(x); });
  unary(vm, math, "round", roundHalfUp);
  unary(vm, math, "sin", [](double x) { return std::sin(x); });
  unary(vm, math, "sqrt", [](double x) { return std::sqrt(x); });
  unary(vm, math, "tan", [](double x) { return std::tan(x); });
  vm.defineMethod(math, "atan2", [](Vm& vm, const Value&, const Args& args) -> Value {
    if (args.size() < 2) return Value(std::nan(""));
    double y = vm.toNumber(args[0]);
    double x = vm.toNumber(args[1]);
    return Value(std::atan2(y, x));
  });
  vm.defineMethod(math, "pow", [](Vm& vm, const Value&, const Args& args) -> Value {
    // A missing operand is NaN, and 1 to any power is 1.
    double base = args.empty() ? std::nan("") : vm.toNumber(args[0]);
    double exponent = args.size() < 2 ? std::nan("") : vm.toNumber(args[1]);
    // An infinite base to a fractional power has no value here.
    if (std::isinf(base) && exponent != std::trunc(exponent)) return Value(std::nan(""));
    return Value(std::pow(base, exponent));
  });
  vm.defineMethod(math, "max", [](Vm& vm, const Value&, const Args& args) -> Value {
    if (args.empty()) return Value(-HUGE_VAL);
    if (args.size() < 2) return Value(std::nan(""));
    double a = vm.toNumber(args[0]), b = vm.toNumber(args[1]);
    if (std::isnan(a) || std::isnan(b)) return Value(std::nan(""));
    return Value(a > b ? a : b);
  });
  vm.defineMethod(math, "min", [](Vm& vm, const Value&, const Args& args) -> Value {
    if (args.empty()) return Value(HUGE_VAL);
    if (args.size() < 2) return Value(std::nan(""));
    double a = vm.toNumber(args[0]), b = vm.toNumber(args[1]);
    if (std::isnan(a) || std::isnan(b)) return Value(std::nan(""));
    return Value(a < b ? a : b);
  });
  vm.defineMethod(math, "random", [](Vm& vm, const Value&, const Args& args) -> Value {
    // Arguments mean nothing but are converted all the same.
    for (size_t i = 0; i < args.size() && i < 2 && !vm.unwinding(); ++i) vm.toNumber(args[i]);
    return Value(vm.random());
  });
}

}  // namespace avm1
}  // namespace swf
