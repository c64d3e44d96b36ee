#include "value.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <limits>

namespace swf {
namespace avm1 {
namespace {

double parseNumber(const std::string& s, int version) {
  const double invalid = version >= 5 ? std::numeric_limits<double>::quiet_NaN() : 0.0;
  if (s.empty()) return invalid;
  const char* begin = s.c_str();
  char* end = nullptr;
  double v = std::strtod(begin, &end);
  while (end && (*end == ' ' || *end == '\t' || *end == '\n' || *end == '\r')) ++end;
  return end && *end == 0 && end != begin ? v : invalid;
}

std::string formatNumber(double n) {
  if (n != n) return "NaN";
  if (std::isinf(n)) return n > 0 ? "Infinity" : "-Infinity";
  if (n == std::floor(n) && std::fabs(n) < 1e15) {
    char buf[32];
    std::snprintf(buf, sizeof buf, "%.0f", n);
    return buf;
  }
  char buf[32];
  std::snprintf(buf, sizeof buf, "%.15g", n);
  return buf;
}

}  // namespace

Value Value::fromNumber(double n) {
  Value v;
  v.type = Type::Number;
  v.number = n;
  return v;
}

Value Value::fromBool(bool b) {
  Value v;
  v.type = Type::Bool;
  v.boolean = b;
  return v;
}

Value Value::fromString(std::string s) {
  Value v;
  v.type = Type::String;
  v.text = std::move(s);
  return v;
}

double Value::toNumber(int version) const {
  switch (type) {
    case Type::Number: return number;
    case Type::Bool: return boolean ? 1 : 0;
    case Type::String: return parseNumber(text, version);
    default: return version >= 7 ? std::numeric_limits<double>::quiet_NaN() : 0.0;
  }
}

bool Value::toBool(int version) const {
  switch (type) {
    case Type::Bool: return boolean;
    case Type::Number: return number != 0 && number == number;
    case Type::String:
      if (version >= 7) return !text.empty();
      {
        double n = parseNumber(text, version);
        return n != 0 && n == n;
      }
    default: return false;
  }
}

std::string Value::toString(int version) const {
  switch (type) {
    case Type::String: return text;
    case Type::Number: return formatNumber(number);
    case Type::Bool: return boolean ? "true" : "false";
    case Type::Null: return "null";
    default: return version >= 7 ? "undefined" : "";
  }
}

}  // namespace avm1
}  // namespace swf
