// flash.geom.ColorTransform: native in the real player; its eight fields are
// accessors on the prototype over numbers the object holds.
#include <cmath>

#include "../../number_text.h"
#include "../builtins.h"
#include "../packages.h"
#include "color_transform_object.h"
#include "script_ops.h"

namespace swf {
namespace avm1 {
namespace {

const char* const kNames[8] = {"redMultiplier", "greenMultiplier", "blueMultiplier", "alphaMultiplier",
                               "redOffset",     "greenOffset",     "blueOffset",     "alphaOffset"};

ColorTransformObject* self(const Value& v) { return dynamic_cast<ColorTransformObject*>(v.asObject()); }

void defineField(Vm& vm, Object* proto, int i) {
  scriptAccessor(
      vm, proto, kNames[i],
      [i](Vm&, const Value& v, const Args&) { return self(v) ? Value(self(v)->fields[i]) : Value(); },
      [i](Vm& vm, const Value& v, const Args& args) {
        double n = vm.toNumber(arg(args, 0));
        if (self(v)) self(v)->fields[i] = n;
        return Value();
      });
}

// The offsets as one 0xRRGGBB; setting it clears the multipliers.
void defineRgb(Vm& vm, Object* proto) {
  scriptAccessor(
      vm, proto, "rgb",
      [](Vm&, const Value& v, const Args&) {
        ColorTransformObject* ct = self(v);
        if (!ct) return Value();
        uint32_t r = uint32_t(toInt32(ct->fields[4])) & 255, g = uint32_t(toInt32(ct->fields[5])) & 255,
                 b = uint32_t(toInt32(ct->fields[6])) & 255;
        return Value(double(r << 16 | g << 8 | b));
      },
      [](Vm& vm, const Value& v, const Args& args) {
        uint32_t rgb = uint32_t(vm.toInt32(arg(args, 0)));
        ColorTransformObject* ct = self(v);
        if (!ct) return Value();
        ct->fields[0] = ct->fields[1] = ct->fields[2] = 0;
        ct->fields[4] = (rgb >> 16) & 255;
        ct->fields[5] = (rgb >> 8) & 255;
        ct->fields[6] = rgb & 255;
        return Value();
      });
}

// this followed by the other: offsets first scaled by this one's multipliers.
Value concat(Vm&, const Value& v, const Args& args) {
  ColorTransformObject* ct = self(v);
  ColorTransformObject* other = self(arg(args, 0));
  if (!ct || !other) return Value();
  for (int i = 0; i < 4; ++i) {
    ct->fields[4 + i] += ct->fields[i] * other->fields[4 + i];
    ct->fields[i] *= other->fields[i];
  }
  return Value();
}

Value toText(Vm& vm, const Value& v, const Args&) {
  ColorTransformObject* ct = self(v);
  if (!ct) return Value();
  std::string out = "(";
  for (int i = 0; i < 8; ++i) out += std::string(i ? ", " : "") + kNames[i] + "=" + vm.toString(Value(ct->fields[i]));
  return Value(out + ")");
}

}  // namespace

Object* newColorTransform(Vm& vm, const double fields[8]) {
  Value made = constructByPath(vm, "flash.geom.ColorTransform", {});
  ColorTransformObject* ct = self(made);
  if (ct) std::copy(fields, fields + 8, ct->fields);
  return made.asObject();
}

void installColorTransformClass(Vm& vm) {
  Object* proto = vm.newObject();
  NativeFunction* ctor = vm.newFunction([](Vm&, const Value&, const Args&) { return Value(); },
                                        [](Vm& vm, const Value& made, const Args& args) -> Value {
                                          Object* o = made.asObject();
                                          ColorTransformObject* ct =
                                              vm.make<ColorTransformObject>(o ? o->proto() : nullptr);
                                          if (o) {
                                            for (const Property& p : o->ownProperties())
                                              ct->define(p.name, p.value, p.flags);
                                          }
                                          if (!args.empty()) {
                                            for (size_t i = 0; i < 8; ++i) ct->fields[i] = vm.toNumber(arg(args, i));
                                          }
                                          return Value(static_cast<Object*>(ct));
                                        });
  ctor->define("prototype", Value(proto), DontEnum | DontDelete);
  proto->define("constructor", Value(ctor), DontEnum);
  packageObject(vm, "flash.geom")->define("ColorTransform", Value(ctor), 0);
  for (int i : {3, 0, 1, 2, 7, 4, 5, 6}) defineField(vm, proto, i);
  defineRgb(vm, proto);
  scriptMethod(vm, proto, "concat", concat);
  scriptMethod(vm, proto, "toString", toText);
}

}  // namespace avm1
}  // namespace swf
