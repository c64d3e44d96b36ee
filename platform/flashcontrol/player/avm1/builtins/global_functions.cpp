// The global functions: parseInt, parseFloat, isNaN, isFinite, escape,
// unescape and ASSetPropFlags.
#include <cmath>

#include "../array_object.h"
#include "../number_text.h"
#include "../vm.h"
#include "builtins.h"
#include "url_text.h"

namespace swf {
namespace avm1 {
namespace {

// ASSetPropFlags(object, names, set, clear): names are an array, null for
// every property, or anything else as a comma list.
Value setPropFlags(Vm& vm, const Value&, const Args& args) {
  Object* o = arg(args, 0).asObject();
  if (!o || args.size() < 3) return Value();
  uint16_t set = uint16_t(vm.toInt32(args[2]));
  uint16_t clear = args.size() > 3 ? uint16_t(vm.toInt32(args[3])) : 0;
  const Value& names = args[1];
  if (names.isNull()) {
    o->changeAllFlags(set, clear);
    return Value();
  }
  std::vector<std::string> list;
  Object* a = names.asObject();
  if (a && a->isArray()) {
    uint32_t n = toUint32(vm.toNumber(a->get("length")));
    for (uint32_t i = 0; i < n && i < 65536; ++i) list.push_back(vm.toString(a->get(std::to_string(i))));
  } else {
    std::string text = vm.toString(names);
    size_t start = 0;
    while (start <= text.size()) {
      size_t comma = text.find(',', start);
      if (comma == std::string::npos) comma = text.size();
      list.push_back(text.substr(start, comma - start));
      start = comma + 1;
    }
  }
  for (const std::string& name : list) o->changeFlags(name, set, clear);
  return Value();
}

}  // namespace

void installGlobalFunctions(Vm& vm) {
  Object* g = vm.global();
  vm.defineMethod(g, "parseInt", [](Vm& vm, const Value&, const Args& args) -> Value {
    if (args.empty()) return Value();
    std::string text = vm.toString(args[0]);
    bool radixGiven = args.size() > 1;
    int radix = radixGiven ? vm.toInt32(args[1]) : 10;
    return Value(parseIntPrefix(text, radix, radixGiven));
  });
  vm.defineMethod(g, "parseFloat", [](Vm& vm, const Value&, const Args& args) -> Value {
    if (args.empty()) return Value();
    return Value(parseFloatPrefix(vm.toString(args[0])));
  });
  vm.defineMethod(g, "isNaN", [](Vm& vm, const Value&, const Args& args) -> Value {
    // No argument is not a number, though undefined is 0 before version 7.
    return Value(args.empty() || bool(std::isnan(vm.toNumber(args[0]))));
  });
  vm.defineMethod(g, "isFinite", [](Vm& vm, const Value&, const Args& args) -> Value {
    return Value(!args.empty() && std::isfinite(vm.toNumber(args[0])));
  });
  vm.defineMethod(g, "escape", [](Vm& vm, const Value&, const Args& args) -> Value {
    return Value(escapeText(vm.toString(arg(args, 0))));
  });
  vm.defineMethod(g, "unescape", [](Vm& vm, const Value&, const Args& args) -> Value {
    return Value(unescapeText(vm.toString(arg(args, 0))));
  });
  vm.defineMethod(g, "ASSetPropFlags", setPropFlags);
  g->define("NaN", Value(std::nan("")), DontEnum);
  g->define("Infinity", Value(HUGE_VAL), DontEnum);
}

}  // namespace avm1
}  // namespace swf
