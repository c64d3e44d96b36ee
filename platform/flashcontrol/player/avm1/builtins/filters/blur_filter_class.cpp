// flash.filters.BitmapFilter and BlurFilter (version 8 on). The blur
// amounts are numbers held within 0..255 (NaN stays NaN), quality an
// integer within 0..15; each argument is converted once, in order. Called
// without `new`, BlurFilter does nothing.
#include <algorithm>
#include <cmath>

#include "../../vm.h"
#include "../builtins.h"
#include "../geom/script_ops.h"
#include "../packages.h"

namespace swf {
namespace avm1 {
namespace {

class BlurFilterObject : public Object {
 public:
  BlurFilterObject(Vm& vm, Object* proto) : Object(vm, proto) {}
  double blurX = 4;
  double blurY = 4;
  double quality = 1;
};

BlurFilterObject* self(const Value& v) { return dynamic_cast<BlurFilterObject*>(v.asObject()); }

double blurAmount(Vm& vm, const Value& v) {
  double n = vm.toNumber(v);
  return std::isnan(n) ? n : std::min(255.0, std::max(0.0, n));
}

double quality(Vm& vm, const Value& v) { return std::min(15, std::max(0, vm.toInt32(v))); }

void defineAmount(Vm& vm, Object* proto, const char* name, double BlurFilterObject::*field,
                  double (*convert)(Vm&, const Value&)) {
  scriptAccessor(
      vm, proto, name, [field](Vm&, const Value& v, const Args&) { return self(v) ? Value(self(v)->*field) : Value(); },
      [field, convert](Vm& vm, const Value& v, const Args& args) {
        double n = convert(vm, arg(args, 0));
        if (self(v)) self(v)->*field = n;
        return Value();
      });
}

Value construct(Vm& vm, const Value& made, const Args& args) {
  Object* o = made.asObject();
  auto* f = vm.make<BlurFilterObject>(o ? o->proto() : nullptr);
  if (o) {
    for (const Property& p : o->ownProperties()) f->define(p.name, p.value, p.flags);
  }
  if (args.size() > 0) f->blurX = blurAmount(vm, args[0]);
  if (args.size() > 1) f->blurY = blurAmount(vm, args[1]);
  if (args.size() > 2) f->quality = quality(vm, args[2]);
  return Value(static_cast<Object*>(f));
}

NativeFunction* defineFilterClass(Vm& vm, const char* name, Object* proto, NativeFn constructFn) {
  NativeFunction* ctor = vm.newFunction([](Vm&, const Value&, const Args&) { return Value(); }, std::move(constructFn));
  ctor->define("prototype", Value(proto), DontEnum | DontDelete);
  proto->define("constructor", Value(ctor), DontEnum);
  packageObject(vm, "flash.filters")->define(name, Value(ctor), 0);
  return ctor;
}

}  // namespace

void installBlurFilterClass(Vm& vm) {
  Object* base = vm.newObject();
  defineFilterClass(vm, "BitmapFilter", base, nullptr);
  vm.defineMethod(base, "clone", [](Vm&, const Value&, const Args&) { return Value(); });
  Object* proto = vm.newObject(base);
  defineFilterClass(vm, "BlurFilter", proto, construct);
  defineAmount(vm, proto, "blurX", &BlurFilterObject::blurX, blurAmount);
  defineAmount(vm, proto, "blurY", &BlurFilterObject::blurY, blurAmount);
  defineAmount(vm, proto, "quality", &BlurFilterObject::quality, quality);
  vm.defineMethod(proto, "clone", [](Vm& vm, const Value& v, const Args&) -> Value {
    BlurFilterObject* f = self(v);
    if (!f) return Value();
    return constructByPath(vm, "flash.filters.BlurFilter", {Value(f->blurX), Value(f->blurY), Value(f->quality)});
  });
}

}  // namespace avm1
}  // namespace swf
