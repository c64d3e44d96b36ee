// flash.geom.Transform: a clip's matrix and color transform as geom objects.
// Reading gives copies; the color transform can also be set.
#include <cmath>

#include "../../action_target.h"
#include "../builtins.h"
#include "color_transform_object.h"
#include "script_ops.h"

namespace swf {
namespace avm1 {
namespace {

// The clip the object was made for (hidden member, as the real one keeps it).
// Movies before version 8 reach the class only by unhiding it, and it then
// stands for no clip.
ActionTarget* clipOf(const Value& self) {
  Object* o = self.asObject();
  if (!o || o->vm().version() < 8) return nullptr;
  Object* c = o ? o->get("__clip").asObject() : nullptr;
  return c ? c->clip() : nullptr;
}

Value orUndefined(Object* o) { return o ? Value(o) : Value(); }

Value newMatrix(Vm& vm, const double m[6]) {
  return constructByPath(vm, "flash.geom.Matrix",
                         {Value(m[0]), Value(m[1]), Value(m[2]), Value(m[3]), Value(m[4]), Value(m[5])});
}

// The clip's own matrix: its stage transform after undoing its parent's.
void localMatrix(ActionTarget* clip, double out[6]) {
  double s[6], p[6] = {1, 0, 0, 1, 0, 0};
  clip->toStage(s);
  if (ActionTarget* parent = clip->parentTarget()) parent->toStage(p);
  double det = p[0] * p[3] - p[1] * p[2];
  if (det == 0) {
    std::copy(s, s + 6, out);
    return;
  }
  double inv[6] = {p[3] / det,
                   -p[1] / det,
                   -p[2] / det,
                   p[0] / det,
                   (p[2] * p[5] - p[3] * p[4]) / det,
                   (p[1] * p[4] - p[0] * p[5]) / det};
  out[0] = s[0] * inv[0] + s[1] * inv[2];
  out[1] = s[0] * inv[1] + s[1] * inv[3];
  out[2] = s[2] * inv[0] + s[3] * inv[2];
  out[3] = s[2] * inv[1] + s[3] * inv[3];
  out[4] = s[4] * inv[0] + s[5] * inv[2] + inv[4];
  out[5] = s[4] * inv[1] + s[5] * inv[3] + inv[5];
}

// Color objects see multipliers in percent; ColorTransform as fractions.
void clipColor(ActionTarget* clip, double out[8]) {
  clip->colorTransform(out);
  for (int i = 0; i < 4; ++i) out[i] /= 100;
}

// A clip keeps its multipliers in 8.8 fixed point and whole offsets.
void quantize(const double fields[8], double out[8]) {
  for (int i = 0; i < 4; ++i) {
    out[i] = std::trunc(fields[i] * 256) / 256 * 100;
    out[4 + i] = std::trunc(fields[4 + i]);
  }
}

void defineMatrices(Vm& vm, Object* proto) {
  scriptAccessor(
      vm, proto, "matrix",
      [](Vm& vm, const Value& self, const Args&) {
        ActionTarget* clip = clipOf(self);
        if (!clip) return Value();
        double m[6];
        localMatrix(clip, m);
        return newMatrix(vm, m);
      },
      [](Vm&, const Value&, const Args&) { return Value(); });
  scriptAccessor(
      vm, proto, "concatenatedMatrix",
      [](Vm& vm, const Value& self, const Args&) {
        ActionTarget* clip = clipOf(self);
        if (!clip) return Value();
        double m[6];
        clip->toStage(m);
        return newMatrix(vm, m);
      },
      [](Vm&, const Value&, const Args&) { return Value(); });
}

void defineColors(Vm& vm, Object* proto) {
  scriptAccessor(
      vm, proto, "colorTransform",
      [](Vm& vm, const Value& self, const Args&) {
        ActionTarget* clip = clipOf(self);
        if (!clip) return Value();
        double c[8];
        clipColor(clip, c);
        return orUndefined(newColorTransform(vm, c));
      },
      [](Vm&, const Value& self, const Args& args) {
        ActionTarget* clip = clipOf(self);
        auto* ct = dynamic_cast<ColorTransformObject*>(arg(args, 0).asObject());
        if (!clip || !ct) return Value();
        double c[8];
        quantize(ct->fields, c);
        clip->setColorTransform(c);
        return Value();
      });
  scriptAccessor(
      vm, proto, "concatenatedColorTransform",
      [](Vm& vm, const Value& self, const Args&) {
        ActionTarget* clip = clipOf(self);
        if (!clip) return Value();
        double all[8] = {1, 1, 1, 1, 0, 0, 0, 0};
        for (ActionTarget* at = clip; at; at = at->parentTarget()) {
          double c[8];
          clipColor(at, c);
          // Combined in the clip's fixed point, rounding down.
          for (int i = 0; i < 4; ++i) {
            all[4 + i] = std::floor(c[4 + i] + c[i] * all[4 + i]);
            all[i] = std::floor(all[i] * c[i] * 256) / 256;
          }
        }
        return orUndefined(newColorTransform(vm, all));
      },
      [](Vm&, const Value&, const Args&) { return Value(); });
}

// The clip's bounds on the stage, in whole pixels.
Value pixelBounds(Vm& vm, const Value& self, const Args&) {
  ActionTarget* clip = clipOf(self);
  if (!clip) return Value();
  double b[4], m[6];
  clip->bounds(b);
  clip->toStage(m);
  double xs[4], ys[4];
  for (int i = 0; i < 4; ++i) {
    double x = b[i & 1 ? 2 : 0], y = b[i & 2 ? 3 : 1];
    xs[i] = m[0] * x + m[2] * y + m[4];
    ys[i] = m[1] * x + m[3] * y + m[5];
  }
  double x0 = std::floor(*std::min_element(xs, xs + 4)), y0 = std::floor(*std::min_element(ys, ys + 4));
  double x1 = std::ceil(*std::max_element(xs, xs + 4)), y1 = std::ceil(*std::max_element(ys, ys + 4));
  return constructByPath(vm, "flash.geom.Rectangle", {Value(x0), Value(y0), Value(x1 - x0), Value(y1 - y0)});
}

}  // namespace

void installTransformClass(Vm& vm) {
  Object* proto = vm.newObject();
  scriptClass(vm, "flash.geom", "Transform", proto, [](Vm&, const Value& self, const Args& args) {
    Object* o = self.asObject();
    Object* clip = arg(args, 0).asObject();
    if (o && clip && clip->clip()) o->define("__clip", Value(clip), DontEnum);
    return Value();
  });
  defineMatrices(vm, proto);
  defineColors(vm, proto);
  scriptAccessor(vm, proto, "pixelBounds", pixelBounds, nullptr);
}

void defineClipTransform(Vm& vm, Object* movieClipProto) {
  NativeFunction* getter = vm.newFunction([](Vm& vm, const Value& self, const Args&) {
    return self.asObject() && self.object->clip() ? constructByPath(vm, "flash.geom.Transform", {self}) : Value();
  });
  // Assigning another clip's transform copies its color transform.
  NativeFunction* setter = vm.newFunction([](Vm& vm, const Value& self, const Args& args) {
    Value ct = member(vm, arg(args, 0), "colorTransform");
    if (ct.isObject()) setMember(vm, constructByPath(vm, "flash.geom.Transform", {self}), "colorTransform", ct);
    return Value();
  });
  movieClipProto->addAccessor("transform", getter, setter, DontEnum | Version8);
}

}  // namespace avm1
}  // namespace swf
