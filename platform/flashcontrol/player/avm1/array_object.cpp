#include "array_object.h"

#include <cmath>

#include "vm.h"

namespace swf {
namespace avm1 {

// Lengths past this are clamped: elements are real properties.
constexpr uint32_t kMaxArrayLength = 1u << 24;

bool ArrayObject::indexOf(const std::string& name, uint32_t& index) {
  if (name.empty() || name.size() > 10 || (name.size() > 1 && name[0] == '0')) return false;
  uint64_t v = 0;
  for (char c : name) {
    if (c < '0' || c > '9') return false;
    v = v * 10 + uint64_t(c - '0');
  }
  if (v >= 0xFFFFFFFFull) return false;
  index = uint32_t(v);
  return true;
}

void ArrayObject::setLength(uint32_t n) {
  if (n > kMaxArrayLength) n = kMaxArrayLength;
  if (n < length_) {
    std::vector<std::string> drop;
    for (const Property& p : ownProperties()) {
      uint32_t i;
      if (indexOf(p.key, i) && i >= n) drop.push_back(p.name);
    }
    for (const std::string& name : drop) remove(name);
  }
  length_ = n;
}

std::vector<Value> ArrayObject::items() {
  std::vector<Value> out;
  out.reserve(length_);
  for (uint32_t i = 0; i < length_; ++i) out.push_back(at(i));
  return out;
}

void ArrayObject::assign(const std::vector<Value>& items) {
  setLength(0);
  for (uint32_t i = 0; i < items.size() && i < kMaxArrayLength; ++i) put(i, items[i]);
  length_ = uint32_t(std::min<size_t>(items.size(), kMaxArrayLength));
}

bool ArrayObject::getBuiltin(const std::string& key, Value& out) {
  if (key != "length") return false;
  out = Value(double(length_));
  return true;
}

bool ArrayObject::setBuiltin(const std::string& key, const Value& value) {
  if (key == "length") {
    double n = vm().toNumber(value);
    setLength(std::isnan(n) || n < 0 ? 0 : n > kMaxArrayLength ? kMaxArrayLength : uint32_t(n));
    return true;
  }
  uint32_t i;
  if (indexOf(key, i)) {
    if (i >= kMaxArrayLength) return true;  // dropped
    if (i >= length_) length_ = i + 1;
  }
  return false;
}

}  // namespace avm1
}  // namespace swf
