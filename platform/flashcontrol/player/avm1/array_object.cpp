#include "array_object.h"

#include <algorithm>
#include <cmath>

#include "vm.h"

namespace swf {
namespace avm1 {

// Loops over elements stop here: elements are real properties.
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

bool ArrayObject::wrappedIndexOf(const std::string& name, int32_t& index) {
  size_t at = !name.empty() && name[0] == '-' ? 1 : 0;
  if (name.size() == at || name.size() - at > 400 || (name.size() - at > 1 && name[at] == '0')) return false;
  uint32_t v = 0;
  for (size_t k = at; k < name.size(); ++k) {
    char c = name[k];
    if (c < '0' || c > '9') return false;
    v = v * 10u + uint32_t(c - '0');
  }
  index = int32_t(at ? 0u - v : v);
  return true;
}

uint32_t ArrayObject::count() const { return length_ <= 0 ? 0 : std::min(uint32_t(length_), kMaxArrayLength); }

// Lowering the length deletes the elements from the new length (at least 0)
// up to the old one.
void ArrayObject::setLength(int32_t n) {
  if (n < length_ && length_ > 0) {
    uint32_t from = n < 0 ? 0 : uint32_t(n);
    std::vector<std::string> drop;
    for (const Property& p : ownProperties()) {
      uint32_t i;
      if (indexOf(p.key, i) && i >= from && i < uint32_t(length_)) drop.push_back(p.name);
    }
    for (const std::string& name : drop) remove(name);
  }
  length_ = n;
}

std::vector<Value> ArrayObject::items() {
  std::vector<Value> out;
  uint32_t n = count();
  out.reserve(n);
  for (uint32_t i = 0; i < n; ++i) out.push_back(at(i));
  return out;
}

void ArrayObject::assign(const std::vector<Value>& items) {
  setLength(0);
  size_t n = std::min<size_t>(items.size(), kMaxArrayLength);
  for (uint32_t i = 0; i < n; ++i) put(i, items[i]);
  length_ = int32_t(n);
}

bool ArrayObject::getBuiltin(const std::string& key, Value& out) {
  if (key != "length") return false;
  out = Value(double(length_));
  return true;
}

bool ArrayObject::setBuiltin(const std::string& key, const Value& value) {
  if (key == "length") {
    setLength(toInt32(vm().toNumber(value)));
    return true;
  }
  int32_t i;
  if (wrappedIndexOf(key, i) && i >= length_) setLength(int32_t(uint32_t(i) + 1u));
  return false;
}

}  // namespace avm1
}  // namespace swf
