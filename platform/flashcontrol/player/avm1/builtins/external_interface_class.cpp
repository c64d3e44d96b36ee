// flash.external.ExternalInterface: the bridge to a browser's script. An
// export has no browser, so it is unavailable and calls reach nothing; the
// encoding of values as the bridge's XML works as in any player.
#include "../vm.h"
#include "builtins.h"
#include "packages.h"

namespace swf {
namespace avm1 {
namespace {

// Arrays (anything with a length) longer than this are cut.
constexpr double kMaxItems = 100000;

std::string toXml(Vm& vm, const Value& v, int depth);

// The real bridge gives null for empty text.
Value escapeXml(const std::string& s) {
  if (s.empty()) return Value::null();
  std::string out;
  for (char c : s) {
    switch (c) {
      case '&': out += "&amp;"; break;
      case '<': out += "&lt;"; break;
      case '>': out += "&gt;"; break;
      case '"': out += "&quot;"; break;
      case '\'': out += "&apos;"; break;
      default: out.push_back(c);
    }
  }
  return Value(out);
}

Value unescapeXml(const std::string& s) {
  if (s.empty()) return Value::null();
  static const std::pair<const char*, char> kEntities[] = {
      {"&amp;", '&'}, {"&lt;", '<'}, {"&gt;", '>'}, {"&quot;", '"'}, {"&apos;", '\''}};
  std::string out;
  for (size_t i = 0; i < s.size();) {
    bool replaced = false;
    for (const auto& e : kEntities) {
      size_t n = std::char_traits<char>::length(e.first);
      if (s.compare(i, n, e.first) == 0) {
        out.push_back(e.second);
        i += n;
        replaced = true;
        break;
      }
    }
    if (!replaced) out.push_back(s[i++]);
  }
  return Value(out);
}

Value itemOf(Vm& vm, Object* o, double i) { return o ? o->get(vm.toString(Value(i))) : Value(); }

double lengthOf(Vm& vm, Object* o) {
  double n = o ? vm.toNumber(o->get("length")) : 0;
  return n > kMaxItems ? kMaxItems : n;
}

std::string arrayToXml(Vm& vm, const Value& v, int depth) {
  Object* o = vm.toObject(v);
  std::string out = "<array>";
  double n = lengthOf(vm, o);
  for (double i = 0; i < n && !vm.unwinding(); ++i) {
    out += "<property id=\"" + vm.toString(Value(i)) + "\">" + toXml(vm, itemOf(vm, o, i), depth + 1) + "</property>";
  }
  return out + "</array>";
}

// A call's arguments: the first is the function's name and is left out.
std::string argumentsToXml(Vm& vm, const Value& v, int depth) {
  Object* o = vm.toObject(v);
  std::string out = "<arguments>";
  double n = lengthOf(vm, o);
  for (double i = 1; i < n && !vm.unwinding(); ++i) out += toXml(vm, itemOf(vm, o, i), depth + 1);
  return out + "</arguments>";
}

std::string objectToXml(Vm& vm, const Value& v, int depth) {
  Object* o = vm.toObject(v);
  std::string out = "<object>";
  if (o) {
    for (const std::string& name : o->enumerableNames()) {
      if (vm.unwinding()) break;
      out += "<property id=\"" + name + "\">" + toXml(vm, o->get(name), depth + 1) + "</property>";
    }
  }
  return out + "</object>";
}

std::string toXml(Vm& vm, const Value& v, int depth) {
  // A structure that holds itself stops here rather than the stack.
  if (depth > kMaxCallDepth) return "<null/>";
  std::string type = vm.typeOf(v);
  if (type == "string") return "<string>" + vm.toString(escapeXml(vm.toString(v))) + "</string>";
  if (type == "undefined") return "<undefined/>";
  if (type == "number") return "<number>" + vm.toString(v) + "</number>";
  if (type == "boolean") return vm.toBoolean(v) ? "<true/>" : "<false/>";
  if (type == "object" && !v.isNull()) {
    return v.object->get("length").isUndefined() ? objectToXml(vm, v, depth) : arrayToXml(vm, v, depth);
  }
  return "<null/>";
}

using Encoder = std::string (*)(Vm&, const Value&, int);

NativeFn encoding(Encoder encode) {
  return [encode](Vm& vm, const Value&, const Args& args) -> Value {
    std::string out = encode(vm, arg(args, 0), 0);
    return vm.unwinding() ? Value() : Value(out);
  };
}

}  // namespace

void installExternalInterfaceClass(Vm& vm) {
  Object* package = packageObject(vm, "flash.external");
  Object* proto = vm.newObject();
  NativeFunction* ctor = vm.newFunction([](Vm&, const Value&, const Args&) -> Value { return Value(); });
  ctor->define("prototype", Value(proto), DontEnum | DontDelete);
  proto->define("constructor", Value(ctor), DontEnum);
  package->define("ExternalInterface", Value(ctor), DontEnum);
  ctor->define("available", Value(false), DontEnum | DontDelete | ReadOnly);
  vm.defineMethod(ctor, "addCallback", [](Vm&, const Value&, const Args&) -> Value { return Value(false); });
  vm.defineMethod(ctor, "call", [](Vm&, const Value&, const Args&) -> Value { return Value::null(); });
  vm.defineMethod(ctor, "_toXML", encoding(toXml));
  vm.defineMethod(ctor, "_arrayToXML", encoding(arrayToXml));
  vm.defineMethod(ctor, "_argumentsToXML", encoding(argumentsToXml));
  vm.defineMethod(ctor, "_objectToXML", encoding(objectToXml));
  vm.defineMethod(ctor, "_escapeXML", [](Vm& vm, const Value&, const Args& args) -> Value {
    return args.empty() ? Value::null() : escapeXml(vm.toString(args[0]));
  });
  vm.defineMethod(ctor, "_unescapeXML", [](Vm& vm, const Value&, const Args& args) -> Value {
    return args.empty() ? Value::null() : unescapeXml(vm.toString(args[0]));
  });
}

}  // namespace avm1
}  // namespace swf
