// flash.geom.Matrix: a, b, c, d, tx and ty as plain members (a point maps to
// (a*x + c*y + tx, b*x + d*y + ty)); compiled script in the real player.
#include <cmath>

#include "../builtins.h"
#include "script_ops.h"

namespace swf {
namespace avm1 {
namespace {

const char* const kNames[6] = {"a", "b", "c", "d", "tx", "ty"};

struct Affine {
  double m[6];
};

Affine read(Vm& vm, const Value& o) {
  Affine out;
  for (int i = 0; i < 6; ++i) out.m[i] = vm.toNumber(member(vm, o, kNames[i]));
  return out;
}

void write(Vm& vm, const Value& o, const Affine& v) {
  for (int i = 0; i < 6; ++i) setMember(vm, o, kNames[i], Value(v.m[i]));
}

// p followed by q.
Affine multiply(const Affine& p, const Affine& q) {
  const double* x = p.m;
  const double* y = q.m;
  return Affine{{x[0] * y[0] + x[1] * y[2], x[0] * y[1] + x[1] * y[3], x[2] * y[0] + x[3] * y[2],
                 x[2] * y[1] + x[3] * y[3], x[4] * y[0] + x[5] * y[2] + y[4], x[4] * y[1] + x[5] * y[3] + y[5]}};
}

Value identity(Vm& vm, const Value& self, const Args&) {
  write(vm, self, Affine{{1, 0, 0, 1, 0, 0}});
  return Value();
}

Value concat(Vm& vm, const Value& self, const Args& args) {
  write(vm, self, multiply(read(vm, self), read(vm, arg(args, 0))));
  return Value();
}

Value invert(Vm& vm, const Value& self, const Args&) {
  Affine m = read(vm, self);
  double* v = m.m;
  double det = v[0] * v[3] - v[1] * v[2];
  write(vm, self,
        Affine{{v[3] / det, -v[1] / det, -v[2] / det, v[0] / det, (v[2] * v[5] - v[3] * v[4]) / det,
                (v[1] * v[4] - v[0] * v[5]) / det}});
  return Value();
}

Value rotate(Vm& vm, const Value& self, const Args& args) {
  double r = vm.toNumber(arg(args, 0));
  write(vm, self, multiply(read(vm, self), Affine{{std::cos(r), std::sin(r), -std::sin(r), std::cos(r), 0, 0}}));
  return Value();
}

Value scale(Vm& vm, const Value& self, const Args& args) {
  double sx = vm.toNumber(arg(args, 0));
  double sy = vm.toNumber(arg(args, 1));
  write(vm, self, multiply(read(vm, self), Affine{{sx, 0, 0, sy, 0, 0}}));
  return Value();
}

Value translate(Vm& vm, const Value& self, const Args& args) {
  Affine m = read(vm, self);
  m.m[4] += vm.toNumber(arg(args, 0));
  m.m[5] += vm.toNumber(arg(args, 1));
  write(vm, self, m);
  return Value();
}

double offsetArg(Vm& vm, const Value& v) { return v.isUndefined() ? 0 : vm.toNumber(v); }

void box(Vm& vm, const Value& self, double sx, double sy, double r, double tx, double ty) {
  write(vm, self, Affine{{std::cos(r) * sx, std::sin(r) * sy, -std::sin(r) * sx, std::cos(r) * sy, tx, ty}});
}

Value createBox(Vm& vm, const Value& self, const Args& args) {
  box(vm, self, vm.toNumber(arg(args, 0)), vm.toNumber(arg(args, 1)), vm.toNumber(arg(args, 2)),
      offsetArg(vm, arg(args, 3)), offsetArg(vm, arg(args, 4)));
  return Value();
}

// A gradient's square of 1638.4 twips stretched over width x height.
Value createGradientBox(Vm& vm, const Value& self, const Args& args) {
  double w = vm.toNumber(arg(args, 0));
  double h = vm.toNumber(arg(args, 1));
  box(vm, self, w / 1638.4, h / 1638.4, offsetArg(vm, arg(args, 2)), offsetArg(vm, arg(args, 3)) + w / 2,
      offsetArg(vm, arg(args, 4)) + h / 2);
  return Value();
}

Value mapPoint(Vm& vm, const Value& self, const Value& p, bool withOffset) {
  Affine m = read(vm, self);
  double x = vm.toNumber(member(vm, p, "x"));
  double y = vm.toNumber(member(vm, p, "y"));
  double ox = withOffset ? m.m[4] : 0;
  double oy = withOffset ? m.m[5] : 0;
  return constructByPath(vm, "flash.geom.Point",
                         {Value(m.m[0] * x + m.m[2] * y + ox), Value(m.m[1] * x + m.m[3] * y + oy)});
}

Value toText(Vm& vm, const Value& self, const Args&) {
  Value out("(");
  for (int i = 0; i < 6; ++i) {
    out = scriptAdd(vm, out, Value(std::string(i ? ", " : "") + kNames[i] + "="));
    out = scriptAdd(vm, out, member(vm, self, kNames[i]));
  }
  return scriptAdd(vm, out, Value(")"));
}

// No arguments give the identity; otherwise the arguments as they are.
Value construct(Vm& vm, const Value& self, const Args& args) {
  if (args.empty()) return identity(vm, self, args);
  for (size_t i = 0; i < 6; ++i) setMember(vm, self, kNames[i], arg(args, i));
  return Value();
}

}  // namespace

void installMatrixClass(Vm& vm) {
  Object* proto = vm.newObject();
  scriptClass(vm, "flash.geom", "Matrix", proto, construct);
  scriptMethod(vm, proto, "clone", [](Vm& vm, const Value& self, const Args&) {
    Args fields;
    for (const char* name : kNames) fields.push_back(member(vm, self, name));
    return constructByPath(vm, "flash.geom.Matrix", fields);
  });
  scriptMethod(vm, proto, "concat", concat);
  scriptMethod(vm, proto, "createBox", createBox);
  scriptMethod(vm, proto, "createGradientBox", createGradientBox);
  scriptMethod(vm, proto, "deltaTransformPoint",
               [](Vm& vm, const Value& self, const Args& args) { return mapPoint(vm, self, arg(args, 0), false); });
  scriptMethod(vm, proto, "identity", identity);
  scriptMethod(vm, proto, "invert", invert);
  scriptMethod(vm, proto, "rotate", rotate);
  scriptMethod(vm, proto, "scale", scale);
  scriptMethod(vm, proto, "toString", toText);
  scriptMethod(vm, proto, "transformPoint",
               [](Vm& vm, const Value& self, const Args& args) { return mapPoint(vm, self, arg(args, 0), true); });
  scriptMethod(vm, proto, "translate", translate);
}

}  // namespace avm1
}  // namespace swf
