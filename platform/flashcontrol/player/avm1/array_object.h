// Arrays: elements are ordinary properties named by their index; `length`
// follows the highest index written and cuts elements off when lowered. The
// length is a signed 32-bit integer, as in the real player: indices written
// past 2^31 wrap it negative.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "object.h"

namespace swf {
namespace avm1 {

class ArrayObject : public Object {
 public:
  ArrayObject(Vm& vm, Object* proto) : Object(vm, proto) {}
  bool isArray() const override { return true; }

  int32_t length() const { return length_; }
  // The number of elements loops visit: none for a negative length.
  uint32_t count() const;
  void setLength(int32_t n);
  Value at(uint32_t i) { return get(std::to_string(i)); }
  void put(uint32_t i, const Value& v) { set(std::to_string(i), v); }
  void push(const Value& v) { set(std::to_string(length_), v); }
  std::vector<Value> items();
  void assign(const std::vector<Value>& items);

  // The index a property name denotes, or false.
  static bool indexOf(const std::string& name, uint32_t& index);
  // The integer a written name stands for when it grows the length: decimal
  // digits with an optional minus, wrapped to 32 bits.
  static bool wrappedIndexOf(const std::string& name, int32_t& index);

 protected:
  bool getBuiltin(const std::string& key, Value& out) override;
  bool setBuiltin(const std::string& key, const Value& value) override;

 private:
  int32_t length_ = 0;
};

}  // namespace avm1
}  // namespace swf
