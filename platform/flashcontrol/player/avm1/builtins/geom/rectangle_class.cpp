// flash.geom.Rectangle: x, y, width and height as plain members, the edges
// and corners as accessors over them; computed with the script's operators
// as the real player's compiled class does.
#include <algorithm>
#include <cmath>

#include "../builtins.h"
#include "script_ops.h"

namespace swf {
namespace avm1 {
namespace {

Value get(Vm& vm, const Value& o, const char* name) { return member(vm, o, name); }
void put(Vm& vm, const Value& o, const char* name, const Value& v) { setMember(vm, o, name, v); }

Value newPoint(Vm& vm, const Value& x, const Value& y) { return constructByPath(vm, "flash.geom.Point", {x, y}); }
Value newRectangle(Vm& vm, const Args& args) { return constructByPath(vm, "flash.geom.Rectangle", args); }

Value right(Vm& vm, const Value& r) { return scriptAdd(vm, get(vm, r, "x"), get(vm, r, "width")); }
Value bottom(Vm& vm, const Value& r) { return scriptAdd(vm, get(vm, r, "y"), get(vm, r, "height")); }

void setEmpty(Vm& vm, const Value& self) {
  for (const char* name : {"x", "y", "width", "height"}) put(vm, self, name, Value(0));
}

void defineEdges(Vm& vm, Object* proto) {
  scriptAccessor(
      vm, proto, "left", [](Vm& vm, const Value& self, const Args&) { return get(vm, self, "x"); },
      [](Vm& vm, const Value& self, const Args& args) {
        put(vm, self, "width", scriptAdd(vm, get(vm, self, "width"), scriptSub(vm, get(vm, self, "x"), arg(args, 0))));
        put(vm, self, "x", arg(args, 0));
        return Value();
      });
  scriptAccessor(
      vm, proto, "right", [](Vm& vm, const Value& self, const Args&) { return right(vm, self); },
      [](Vm& vm, const Value& self, const Args& args) {
        put(vm, self, "width", scriptSub(vm, arg(args, 0), get(vm, self, "x")));
        return Value();
      });
  scriptAccessor(
      vm, proto, "top", [](Vm& vm, const Value& self, const Args&) { return get(vm, self, "y"); },
      [](Vm& vm, const Value& self, const Args& args) {
        put(vm, self, "height",
            scriptAdd(vm, get(vm, self, "height"), scriptSub(vm, get(vm, self, "y"), arg(args, 0))));
        put(vm, self, "y", arg(args, 0));
        return Value();
      });
  scriptAccessor(
      vm, proto, "bottom", [](Vm& vm, const Value& self, const Args&) { return bottom(vm, self); },
      [](Vm& vm, const Value& self, const Args& args) {
        put(vm, self, "height", scriptSub(vm, arg(args, 0), get(vm, self, "y")));
        return Value();
      });
}

void defineCorners(Vm& vm, Object* proto) {
  scriptAccessor(
      vm, proto, "topLeft",
      [](Vm& vm, const Value& self, const Args&) { return newPoint(vm, get(vm, self, "x"), get(vm, self, "y")); },
      [](Vm& vm, const Value& self, const Args& args) {
        Value p = arg(args, 0);
        put(vm, self, "width",
            scriptAdd(vm, get(vm, self, "width"), scriptSub(vm, get(vm, self, "x"), get(vm, p, "x"))));
        put(vm, self, "height",
            scriptAdd(vm, get(vm, self, "height"), scriptSub(vm, get(vm, self, "y"), get(vm, p, "y"))));
        put(vm, self, "x", get(vm, p, "x"));
        put(vm, self, "y", get(vm, p, "y"));
        return Value();
      });
  scriptAccessor(
      vm, proto, "bottomRight",
      [](Vm& vm, const Value& self, const Args&) { return newPoint(vm, right(vm, self), bottom(vm, self)); },
      [](Vm& vm, const Value& self, const Args& args) {
        Value p = arg(args, 0);
        put(vm, self, "width", scriptSub(vm, get(vm, p, "x"), get(vm, self, "x")));
        put(vm, self, "height", scriptSub(vm, get(vm, p, "y"), get(vm, self, "y")));
        return Value();
      });
  scriptAccessor(
      vm, proto, "size",
      [](Vm& vm, const Value& self, const Args&) {
        return newPoint(vm, get(vm, self, "width"), get(vm, self, "height"));
      },
      [](Vm& vm, const Value& self, const Args& args) {
        put(vm, self, "width", get(vm, arg(args, 0), "x"));
        put(vm, self, "height", get(vm, arg(args, 0), "y"));
        return Value();
      });
}

Value contains(Vm& vm, const Value& self, const Value& x, const Value& y) {
  Value in = scriptNotLess(vm, x, get(vm, self, "x"));
  in = scriptAnd(vm, in, scriptNotLess(vm, y, get(vm, self, "y")));
  in = scriptAnd(vm, in, scriptLess(vm, x, right(vm, self)));
  return scriptAnd(vm, in, scriptLess(vm, y, bottom(vm, self)));
}

// Every corner of the other inside this one; unordered comparisons (NaN,
// undefined) leave their undefined as the answer, as the script's `<` does.
Value containsRectangle(Vm& vm, const Value& self, const Args& args) {
  Value r = arg(args, 0);
  Value rx = get(vm, r, "x"), ry = get(vm, r, "y"), x = get(vm, self, "x"), y = get(vm, self, "y");
  Value rRight = right(vm, r), rBottom = bottom(vm, r), tRight = right(vm, self), tBottom = bottom(vm, self);
  Value in = scriptNotLess(vm, rx, x);
  in = scriptAnd(vm, in, scriptLess(vm, rx, tRight));
  in = scriptAnd(vm, in, scriptNotLess(vm, ry, y));
  in = scriptAnd(vm, in, scriptLess(vm, ry, tBottom));
  in = scriptAnd(vm, in, scriptLess(vm, x, rRight));
  in = scriptAnd(vm, in, scriptNotLess(vm, tRight, rRight));
  in = scriptAnd(vm, in, scriptLess(vm, y, rBottom));
  return scriptAnd(vm, in, scriptNotLess(vm, tBottom, rBottom));
}

// Unordered sizes (NaN) count as empty.
Value isEmpty(Vm& vm, const Value& self, const Args&) {
  return Value(!vm.toBoolean(scriptLess(vm, Value(0), get(vm, self, "width"))) ||
               !vm.toBoolean(scriptLess(vm, Value(0), get(vm, self, "height"))));
}

Value equals(Vm& vm, const Value& self, const Args& args) {
  Value r = arg(args, 0);
  if (!isInstance(vm, r, "flash.geom.Rectangle")) return Value(false);
  Value same(true);
  for (const char* name : {"x", "y", "width", "height"}) {
    same = scriptAnd(vm, same, Value(vm.looseEquals(get(vm, r, name), get(vm, self, name))));
  }
  return same;
}

Value inflateBy(Vm& vm, const Value& self, const Value& dx, const Value& dy) {
  put(vm, self, "x", scriptSub(vm, get(vm, self, "x"), dx));
  put(vm, self, "width", scriptAdd(vm, get(vm, self, "width"), scriptMul(vm, Value(2), dx)));
  put(vm, self, "y", scriptSub(vm, get(vm, self, "y"), dy));
  put(vm, self, "height", scriptAdd(vm, get(vm, self, "height"), scriptMul(vm, Value(2), dy)));
  return Value();
}

Value offsetBy(Vm& vm, const Value& self, const Value& dx, const Value& dy) {
  put(vm, self, "x", scriptAdd(vm, get(vm, self, "x"), dx));
  put(vm, self, "y", scriptAdd(vm, get(vm, self, "y"), dy));
  return Value();
}

double num(Vm& vm, const Value& o, const char* name) { return vm.toNumber(get(vm, o, name)); }
// Math.min and Math.max: NaN wins.
double least(double a, double b) { return std::isnan(a) || std::isnan(b) ? NAN : std::min(a, b); }
double most(double a, double b) { return std::isnan(a) || std::isnan(b) ? NAN : std::max(a, b); }

bool emptyRect(Vm& vm, const Value& r) { return vm.toBoolean(vm.callMethod(r, "isEmpty", {})); }

// The overlap; empty (all zeros) when there is none or it is unordered.
Value intersection(Vm& vm, const Value& self, const Args& args) {
  Value r = arg(args, 0);
  Value out = newRectangle(vm, {});
  if (emptyRect(vm, self) || emptyRect(vm, r)) return out;
  double x0 = most(num(vm, self, "x"), num(vm, r, "x"));
  double y0 = most(num(vm, self, "y"), num(vm, r, "y"));
  double x1 = least(vm.toNumber(right(vm, self)), vm.toNumber(right(vm, r)));
  double y1 = least(vm.toNumber(bottom(vm, self)), vm.toNumber(bottom(vm, r)));
  if (!(x1 - x0 > 0 && y1 - y0 > 0)) return out;
  put(vm, out, "x", Value(x0));
  put(vm, out, "y", Value(y0));
  put(vm, out, "width", Value(x1 - x0));
  put(vm, out, "height", Value(y1 - y0));
  return out;
}

Value unite(Vm& vm, const Value& self, const Args& args) {
  Value r = arg(args, 0);
  if (emptyRect(vm, self)) return vm.callMethod(r, "clone", {});
  if (emptyRect(vm, r)) return vm.callMethod(self, "clone", {});
  double x0 = least(num(vm, self, "x"), num(vm, r, "x"));
  double y0 = least(num(vm, self, "y"), num(vm, r, "y"));
  double x1 = most(vm.toNumber(right(vm, self)), vm.toNumber(right(vm, r)));
  double y1 = most(vm.toNumber(bottom(vm, self)), vm.toNumber(bottom(vm, r)));
  return newRectangle(vm, {Value(x0), Value(y0), Value(x1 - x0), Value(y1 - y0)});
}

Value toText(Vm& vm, const Value& self, const Args&) {
  Value out = Value("(x=");
  const char* seps[] = {", y=", ", w=", ", h=", ")"};
  const char* names[] = {"x", "y", "width", "height"};
  for (int i = 0; i < 4; ++i) out = scriptAdd(vm, scriptAdd(vm, out, get(vm, self, names[i])), Value(seps[i]));
  return out;
}

void defineMethods(Vm& vm, Object* proto) {
  scriptMethod(vm, proto, "clone", [](Vm& vm, const Value& self, const Args&) {
    return newRectangle(vm, {get(vm, self, "x"), get(vm, self, "y"), get(vm, self, "width"), get(vm, self, "height")});
  });
  scriptMethod(vm, proto, "contains", [](Vm& vm, const Value& self, const Args& args) {
    return contains(vm, self, arg(args, 0), arg(args, 1));
  });
  scriptMethod(vm, proto, "containsPoint", [](Vm& vm, const Value& self, const Args& args) {
    return contains(vm, self, get(vm, arg(args, 0), "x"), get(vm, arg(args, 0), "y"));
  });
  scriptMethod(vm, proto, "containsRectangle", containsRectangle);
  scriptMethod(vm, proto, "equals", equals);
  scriptMethod(vm, proto, "inflate", [](Vm& vm, const Value& self, const Args& args) {
    return inflateBy(vm, self, arg(args, 0), arg(args, 1));
  });
  scriptMethod(vm, proto, "inflatePoint", [](Vm& vm, const Value& self, const Args& args) {
    return inflateBy(vm, self, get(vm, arg(args, 0), "x"), get(vm, arg(args, 0), "y"));
  });
  scriptMethod(vm, proto, "intersection", intersection);
  scriptMethod(vm, proto, "intersects", [](Vm& vm, const Value& self, const Args& args) {
    return Value(!vm.toBoolean(vm.callMethod(vm.callMethod(self, "intersection", args), "isEmpty", {})));
  });
  scriptMethod(vm, proto, "isEmpty", isEmpty);
  scriptMethod(vm, proto, "offset", [](Vm& vm, const Value& self, const Args& args) {
    return offsetBy(vm, self, arg(args, 0), arg(args, 1));
  });
  scriptMethod(vm, proto, "offsetPoint", [](Vm& vm, const Value& self, const Args& args) {
    return offsetBy(vm, self, get(vm, arg(args, 0), "x"), get(vm, arg(args, 0), "y"));
  });
  scriptMethod(vm, proto, "setEmpty", [](Vm& vm, const Value& self, const Args&) {
    setEmpty(vm, self);
    return Value();
  });
  scriptMethod(vm, proto, "toString", toText);
  scriptMethod(vm, proto, "union", unite);
}

// No arguments give an empty rectangle; otherwise the arguments as they are.
Value construct(Vm& vm, const Value& self, const Args& args) {
  if (args.empty()) {
    vm.callMethod(self, "setEmpty", {});
    return Value();
  }
  const char* names[] = {"x", "y", "width", "height"};
  for (size_t i = 0; i < 4; ++i) put(vm, self, names[i], arg(args, i));
  return Value();
}

}  // namespace

void installRectangleClass(Vm& vm) {
  Object* proto = vm.newObject();
  scriptClass(vm, "flash.geom", "Rectangle", proto, construct);
  defineEdges(vm, proto);
  defineCorners(vm, proto);
  defineMethods(vm, proto);
}

}  // namespace avm1
}  // namespace swf
