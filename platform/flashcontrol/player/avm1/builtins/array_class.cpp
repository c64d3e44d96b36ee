// Array: construction, the element methods, and sort / sortOn with the
// real player's flags.
#include <algorithm>
#include <cmath>

#include "../array_object.h"
#include "../vm.h"
#include "builtins.h"

namespace swf {
namespace avm1 {
namespace {

enum SortFlag : int { CaseInsensitive = 1, Descending = 2, UniqueSort = 4, ReturnIndexedArray = 8, Numeric = 16 };

// Elements of any object with a length (arrays usually).
std::vector<Value> elementsOf(Vm& vm, Object* o) {
  if (!o) return {};
  if (o->isArray()) return static_cast<ArrayObject*>(o)->items();
  uint32_t n = std::min<uint32_t>(toUint32(vm.toNumber(o->get("length"))), 1u << 20);
  std::vector<Value> out;
  for (uint32_t i = 0; i < n; ++i) out.push_back(o->get(std::to_string(i)));
  return out;
}

void storeElements(Object* o, const std::vector<Value>& items) {
  if (!o) return;
  if (o->isArray()) {
    static_cast<ArrayObject*>(o)->assign(items);
    return;
  }
  for (size_t i = 0; i < items.size(); ++i) o->set(std::to_string(i), items[i]);
  o->set("length", Value(double(items.size())));
}

std::string join(Vm& vm, Object* o, const std::string& sep) {
  std::string out;
  std::vector<Value> items = elementsOf(vm, o);
  for (size_t i = 0; i < items.size(); ++i) {
    if (i) out += sep;
    out += vm.toString(items[i]);
    if (vm.unwinding()) break;
  }
  return out;
}

// Relative positions of slice and splice.
size_t relative(Vm& vm, const Value& v, size_t n, size_t fallback) {
  if (v.isUndefined()) return fallback;
  double d = toInteger(vm.toNumber(v));
  if (d < 0) d = std::max(0.0, double(n) + d);
  return size_t(std::min(d, double(n)));
}

int lowerCompare(const std::string& a, const std::string& b) {
  size_t n = std::min(a.size(), b.size());
  for (size_t i = 0; i < n; ++i) {
    int x = (unsigned char)a[i], y = (unsigned char)b[i];
    if (x >= 'A' && x <= 'Z') x += 32;
    if (y >= 'A' && y <= 'Z') y += 32;
    if (x != y) return x < y ? -1 : 1;
  }
  return a.size() == b.size() ? 0 : a.size() < b.size() ? -1 : 1;
}

// -1, 0, 1 for two elements under flags (no comparison function).
int compareByFlags(Vm& vm, const Value& a, const Value& b, int flags) {
  if (flags & Numeric) {
    if (a.isNumber() && b.isNumber()) {
      double x = a.number, y = b.number;
      if (x < y) return -1;
      if (x > y) return 1;
      return 0;
    }
  }
  std::string x = vm.toString(a), y = vm.toString(b);
  if (flags & CaseInsensitive) return lowerCompare(x, y);
  return x < y ? -1 : x > y ? 1 : 0;
}

struct Sorter {
  Vm& vm;
  FunctionObject* compareFn;
  int flags;
  bool equalSeen = false;

  int compare(const Value& a, const Value& b) {
    int r;
    if (compareFn) {
      double d = vm.toNumber(vm.call(compareFn, Value(), {a, b}));
      r = d < 0 ? -1 : d > 0 ? 1 : 0;
    } else {
      r = compareByFlags(vm, a, b, flags);
    }
    if (r == 0) equalSeen = true;
    return (flags & Descending) ? -r : r;
  }
};

// Sorts indices of items; false when UNIQUESORT found equal elements.
bool sortIndices(Sorter& s, const std::vector<Value>& keys, std::vector<size_t>& order) {
  order.resize(keys.size());
  for (size_t i = 0; i < order.size(); ++i) order[i] = i;
  std::stable_sort(order.begin(), order.end(), [&](size_t x, size_t y) {
    if (s.vm.unwinding()) return false;
    return s.compare(keys[x], keys[y]) < 0;
  });
  return !((s.flags & UniqueSort) && s.equalSeen);
}

Value finishSort(Vm& vm, Object* o, const std::vector<Value>& items, const std::vector<size_t>& order, int flags) {
  if (flags & ReturnIndexedArray) {
    std::vector<Value> idx;
    for (size_t i : order) idx.push_back(Value(double(i)));
    return Value(vm.newArray(idx));
  }
  std::vector<Value> sorted;
  for (size_t i : order) sorted.push_back(items[i]);
  storeElements(o, sorted);
  return Value(o);
}

// sort([compare][, flags]): a lone number is the flags, a second argument
// (when defined) always is; undefined, null or a boolean first sorts nothing.
Value sort(Vm& vm, const Value& self, const Args& args) {
  Object* o = self.asObject();
  if (!o) return Value();
  const Value& first = arg(args, 0);
  if (!args.empty() && (first.isNullish() || first.type == Value::Type::Bool)) return Value();
  FunctionObject* fn = first.asObject() ? first.asObject()->asFunction() : nullptr;
  int flags = 0;
  if (args.size() > 1 && !args[1].isUndefined()) {
    flags = vm.toInt32(args[1]);
  } else if (first.isNumber()) {
    flags = vm.toInt32(first);
  }
  std::vector<Value> items = elementsOf(vm, o);
  Sorter s{vm, fn, flags};
  std::vector<size_t> order;
  if (!sortIndices(s, items, order)) return Value(0);
  return finishSort(vm, o, items, order, flags);
}

// sortOn(fields[, flags]): flags is one number for every field, or an array
// with one entry a field, the first entry then also giving UNIQUESORT and
// RETURNINDEXEDARRAY; an array of another length, or another object, counts
// as no flags. An element that is not an object is compared as itself.
Value sortOn(Vm& vm, const Value& self, const Args& args) {
  Object* o = self.asObject();
  if (!o || args.empty()) return Value();
  std::vector<std::string> fields;
  if (Object* list = args[0].asObject()) {
    for (const Value& f : elementsOf(vm, list)) fields.push_back(vm.toString(f));
  } else {
    fields.push_back(vm.toString(args[0]));
  }
  std::vector<int> fieldFlags(fields.size(), 0);
  Object* list = arg(args, 1).asObject();
  if (list && list->isArray()) {
    std::vector<Value> given = elementsOf(vm, list);
    if (given.size() == fields.size()) {
      for (size_t f = 0; f < given.size(); ++f) fieldFlags[f] = vm.toInt32(given[f]);
    }
  } else if (args.size() > 1 && !list) {
    std::fill(fieldFlags.begin(), fieldFlags.end(), vm.toInt32(args[1]));
  }
  const int flags = fieldFlags.empty() ? 0 : fieldFlags[0];
  std::vector<Value> items = elementsOf(vm, o);
  std::vector<size_t> order(items.size());
  for (size_t i = 0; i < order.size(); ++i) order[i] = i;
  auto key = [&](size_t item, size_t field) {
    Object* element = items[item].asObject();
    return element ? element->get(fields[field]) : items[item];
  };
  bool equal = false;
  std::stable_sort(order.begin(), order.end(), [&](size_t x, size_t y) {
    for (size_t f = 0; f < fields.size(); ++f) {
      int r = compareByFlags(vm, key(x, f), key(y, f), fieldFlags[f]);
      if (fieldFlags[f] & Descending) r = -r;
      if (r != 0) return r < 0;
    }
    equal = true;
    return false;
  });
  if ((flags & UniqueSort) && equal) return Value(0);
  return finishSort(vm, o, items, order, flags);
}

Value splice(Vm& vm, const Value& self, const Args& args) {
  Object* o = self.asObject();
  if (!o || args.empty()) return Value();
  std::vector<Value> items = elementsOf(vm, o);
  size_t n = items.size();
  size_t start = relative(vm, args[0], n, 0);
  size_t count = n - start;
  if (args.size() > 1) {
    double c = toInteger(vm.toNumber(args[1]));
    count = c < 0 ? 0 : size_t(std::min(c, double(n - start)));
  }
  std::vector<Value> removed(items.begin() + long(start), items.begin() + long(start + count));
  items.erase(items.begin() + long(start), items.begin() + long(start + count));
  if (args.size() > 2) items.insert(items.begin() + long(start), args.begin() + 2, args.end());
  storeElements(o, items);
  return Value(vm.newArray(removed));
}

// Element i written anew: deleted (unless protected) and set, so it moves to
// the newest place of the property order.
void rewrite(Object* o, size_t i, const Value& v) {
  o->remove(std::to_string(i));
  o->set(std::to_string(i), v);
}

// Every element moves up: all are deleted, then written from the top down,
// then the new ones from the start; holes become undefined elements.
Value unshift(Vm& vm, const Value& self, const Args& args) {
  Object* o = self.asObject();
  if (!o) return Value();
  std::vector<Value> items = elementsOf(vm, o);
  for (size_t i = 0; i < items.size(); ++i) o->remove(std::to_string(i));
  for (size_t i = items.size(); i-- > 0;) o->set(std::to_string(i + args.size()), items[i]);
  for (size_t i = 0; i < args.size(); ++i) o->set(std::to_string(i), args[i]);
  double length = double(items.size() + args.size());
  o->set("length", Value(length));
  return Value(length);
}

// Pairs from the ends inwards swap places, each written anew; the middle
// element stays where it is.
Value reverse(Vm& vm, const Value& self, const Args&) {
  Object* o = self.asObject();
  if (!o) return self;
  std::vector<Value> items = elementsOf(vm, o);
  for (size_t i = 0, n = items.size(); i < n / 2; ++i) {
    size_t j = n - 1 - i;
    o->remove(std::to_string(j));
    rewrite(o, i, items[j]);
    o->set(std::to_string(j), items[i]);
  }
  return self;
}

}  // namespace

void installArrayClass(Vm& vm) {
  Object* proto = vm.arrayPrototype();
  auto make = [](Vm& vm, const Value&, const Args& args) -> Value {
    ArrayObject* a = vm.newArray();
    if (args.size() == 1 && args[0].isNumber()) {
      double n = args[0].number;
      if (n == std::floor(n)) a->setLength(toInt32(n));
    } else {
      a->assign(args);
    }
    return Value(a);
  };
  NativeFunction* ctor = vm.defineClass("Array", proto, make, [make](Vm& vm, const Value& self, const Args& args) {
    Value a = make(vm, self, args);
    if (Object* o = self.asObject()) a.object->setProto(o->proto());
    return a;
  });
  uint16_t fixed = DontEnum | DontDelete | ReadOnly;
  ctor->define("CASEINSENSITIVE", Value(1), fixed);
  ctor->define("DESCENDING", Value(2), fixed);
  ctor->define("UNIQUESORT", Value(4), fixed);
  ctor->define("RETURNINDEXEDARRAY", Value(8), fixed);
  ctor->define("NUMERIC", Value(16), fixed);
  vm.defineMethod(proto, "push", [](Vm& vm, const Value& self, const Args& args) -> Value {
    Object* o = self.asObject();
    if (!o) return Value();
    std::vector<Value> items = elementsOf(vm, o);
    items.insert(items.end(), args.begin(), args.end());
    storeElements(o, items);
    return Value(double(items.size()));
  });
  vm.defineMethod(proto, "pop", [](Vm& vm, const Value& self, const Args&) -> Value {
    Object* o = self.asObject();
    std::vector<Value> items = elementsOf(vm, o);
    if (items.empty()) return Value();
    Value last = items.back();
    items.pop_back();
    storeElements(o, items);
    return last;
  });
  vm.defineMethod(proto, "shift", [](Vm& vm, const Value& self, const Args&) -> Value {
    Object* o = self.asObject();
    std::vector<Value> items = elementsOf(vm, o);
    if (items.empty()) return Value();
    Value first = items.front();
    items.erase(items.begin());
    storeElements(o, items);
    return first;
  });
  vm.defineMethod(proto, "unshift", unshift);
  vm.defineMethod(proto, "reverse", reverse);
  vm.defineMethod(proto, "join", [](Vm& vm, const Value& self, const Args& args) -> Value {
    std::string sep = args.empty() || args[0].isUndefined() ? "," : vm.toString(args[0]);
    return Value(join(vm, self.asObject(), sep));
  });
  vm.defineMethod(proto, "toString", [](Vm& vm, const Value& self, const Args&) -> Value {
    return Value(join(vm, self.asObject(), ","));
  });
  vm.defineMethod(proto, "slice", [](Vm& vm, const Value& self, const Args& args) -> Value {
    std::vector<Value> items = elementsOf(vm, self.asObject());
    size_t n = items.size();
    size_t start = relative(vm, arg(args, 0), n, 0);
    size_t end = relative(vm, arg(args, 1), n, n);
    if (end < start) end = start;
    return Value(vm.newArray(std::vector<Value>(items.begin() + long(start), items.begin() + long(end))));
  });
  vm.defineMethod(proto, "concat", [](Vm& vm, const Value& self, const Args& args) -> Value {
    std::vector<Value> items = elementsOf(vm, self.asObject());
    for (const Value& v : args) {
      Object* o = v.asObject();
      if (o && o->isArray()) {
        std::vector<Value> more = elementsOf(vm, o);
        items.insert(items.end(), more.begin(), more.end());
      } else {
        items.push_back(v);
      }
    }
    return Value(vm.newArray(items));
  });
  vm.defineMethod(proto, "splice", splice);
  vm.defineMethod(proto, "sort", sort);
  vm.defineMethod(proto, "sortOn", sortOn);
}

}  // namespace avm1
}  // namespace swf
