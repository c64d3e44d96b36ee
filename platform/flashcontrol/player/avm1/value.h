// The values an AVM1 stack holds, with the conversions frame actions need.
#pragma once

#include <string>

namespace swf {
namespace avm1 {

struct Value {
  enum class Type { Undefined, Null, Bool, Number, String };
  Type type = Type::Undefined;
  double number = 0;
  bool boolean = false;
  std::string text;

  static Value undefined() { return Value{}; }
  static Value fromNumber(double n);
  static Value fromBool(bool b);
  static Value fromString(std::string s);

  double toNumber(int version) const;
  bool toBool(int version) const;
  std::string toString(int version) const;
};

}  // namespace avm1
}  // namespace swf
