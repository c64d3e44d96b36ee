#include "value.h"

#include <atomic>
#include <cmath>
#include <limits>

#include "number_text.h"

namespace swf {
namespace avm1 {

Value::Value(Object* o) : type(o ? Type::Object : Type::Null), object(o) {}

uint32_t Value::newNanId() {
  static std::atomic<uint32_t> last{0};
  return ++last;
}

Value Value::null() {
  Value v;
  v.type = Type::Null;
  return v;
}

double primitiveToNumber(const Value& v, int version) {
  switch (v.type) {
    case Value::Type::Number: return v.number;
    case Value::Type::Bool: return v.boolean ? 1 : 0;
    case Value::Type::String: return parseNumber(v.text, version);
    case Value::Type::Object: return std::numeric_limits<double>::quiet_NaN();
    default: return version >= 7 ? std::numeric_limits<double>::quiet_NaN() : 0.0;
  }
}

bool toBoolean(const Value& v, int version) {
  switch (v.type) {
    case Value::Type::Bool: return v.boolean;
    case Value::Type::Number: return v.number != 0 && !std::isnan(v.number);
    case Value::Type::String:
      if (version >= 7) return !v.text.empty();
      {
        double n = parseNumber(v.text, version);
        return n != 0 && !std::isnan(n);
      }
    case Value::Type::Object: return true;
    default: return false;
  }
}

std::string primitiveToString(const Value& v, int version) {
  switch (v.type) {
    case Value::Type::String: return v.text;
    case Value::Type::Number: return formatNumber(v.number);
    // Version 4 writes truth as a number.
    case Value::Type::Bool: return version >= 5 ? (v.boolean ? "true" : "false") : (v.boolean ? "1" : "0");
    case Value::Type::Null: return "null";
    case Value::Type::Object: return "[object Object]";
    default: return version >= 7 ? "undefined" : "";
  }
}

double toInteger(double n) {
  if (std::isnan(n)) return 0;
  if (std::isinf(n)) return n;
  return std::trunc(n);
}

uint32_t toUint32(double n) {
  if (std::isnan(n) || std::isinf(n)) return 0;
  double t = std::fmod(std::trunc(n), 4294967296.0);
  if (t < 0) t += 4294967296.0;
  return uint32_t(t);
}

int32_t toInt32(double n) { return int32_t(toUint32(n)); }

const char* primitiveTypeName(const Value& v) {
  switch (v.type) {
    case Value::Type::Undefined: return "undefined";
    case Value::Type::Null: return "null";
    case Value::Type::Bool: return "boolean";
    case Value::Type::Number: return "number";
    case Value::Type::String: return "string";
    default: return "object";
  }
}

}  // namespace avm1
}  // namespace swf
