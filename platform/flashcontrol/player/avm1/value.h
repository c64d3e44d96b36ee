// The values an AVM1 stack, register or property holds. Objects are owned by
// the Vm's heap; a Value only points at one.
#pragma once

#include <cstdint>
#include <string>

namespace swf {
namespace avm1 {

class Object;

struct Value {
  enum class Type : uint8_t { Undefined, Null, Bool, Number, String, Object };
  Type type = Type::Undefined;
  bool boolean = false;
  // A NaN is one stored number: copies of it equal each other, two NaNs
  // computed apart do not (0 for every other number).
  uint32_t nanId = 0;
  double number = 0;
  std::string text;
  Object* object = nullptr;

  Value() = default;
  Value(double n) : type(Type::Number), nanId(n != n ? newNanId() : 0), number(n) {}
  Value(int n) : type(Type::Number), number(n) {}
  Value(bool b) : type(Type::Bool), boolean(b) {}
  Value(const char* s) : type(Type::String), text(s) {}
  Value(std::string s) : type(Type::String), text(std::move(s)) {}
  Value(Object* o);  // nullptr gives null

  static Value undefined() { return Value(); }
  static uint32_t newNanId();
  static Value null();

  bool isUndefined() const { return type == Type::Undefined; }
  bool isNull() const { return type == Type::Null; }
  bool isNullish() const { return type == Type::Undefined || type == Type::Null; }
  bool isNumber() const { return type == Type::Number; }
  bool isString() const { return type == Type::String; }
  bool isObject() const { return type == Type::Object; }
  Object* asObject() const { return type == Type::Object ? object : nullptr; }
};

// Conversions of primitives that need no object calls. Objects convert
// through Vm (their valueOf and toString run script).
double primitiveToNumber(const Value& v, int version);
bool toBoolean(const Value& v, int version);
std::string primitiveToString(const Value& v, int version);

// ECMAScript ToInt32 / ToUint32 of a number.
int32_t toInt32(double n);
uint32_t toUint32(double n);
// The integer part of n, 0 for NaN (ToInteger).
double toInteger(double n);

// The type name `typeof` gives for primitives ("object" for objects; the Vm
// refines functions and movie clips).
const char* primitiveTypeName(const Value& v);

}  // namespace avm1
}  // namespace swf
