// flash.display.BitmapData (version 8 on): pixels made, read and written by
// script. A bitmap the real player will not make leaves `new` undefined;
// once disposed, every method and property answers -1.
#include "../../vm.h"
#include "../builtins.h"
#include "../geom/script_ops.h"
#include "../packages.h"
#include "bitmap_data_object.h"
#include "bitmap_hit_test.h"

namespace swf {
namespace avm1 {
namespace {

// The bitmap a method works on: nullptr (answer -1) for anything else and
// for a disposed one.
BitmapDataObject* live(const Value& self) {
  BitmapDataObject* b = asBitmapData(self);
  return b && !b->disposed() ? b : nullptr;
}

Value signedPixel(uint32_t argb) { return Value(double(int32_t(argb))); }

Value construct(Vm& vm, const Value& made, const Args& args) {
  double width = vm.toNumber(arg(args, 0)), height = vm.toNumber(arg(args, 1));
  bool transparent = args.size() < 3 || vm.toBoolean(args[2]);
  uint32_t fill = args.size() < 4 ? 0xFFFFFFFFu : uint32_t(vm.toInt32(args[3]));
  if (!bitmapSizeAllowed(vm.version(), width, height)) return Value();
  Object* o = made.asObject();
  auto* b = vm.make<BitmapDataObject>(o ? o->proto() : nullptr, int(width), int(height), transparent, fill);
  if (o) {
    for (const Property& p : o->ownProperties()) b->define(p.name, p.value, p.flags);
  }
  return Value(static_cast<Object*>(b));
}

void defineSizeAccessors(Vm& vm, Object* proto) {
  scriptAccessor(
      vm, proto, "width",
      [](Vm&, const Value& v, const Args&) { return live(v) ? Value(live(v)->width()) : Value(-1); }, nullptr);
  scriptAccessor(
      vm, proto, "height",
      [](Vm&, const Value& v, const Args&) { return live(v) ? Value(live(v)->height()) : Value(-1); }, nullptr);
  scriptAccessor(
      vm, proto, "transparent",
      [](Vm&, const Value& v, const Args&) { return live(v) ? Value(live(v)->transparent()) : Value(-1); }, nullptr);
  scriptAccessor(
      vm, proto, "rectangle",
      [](Vm& vm, const Value& v, const Args&) {
        BitmapDataObject* b = live(v);
        if (!b) return Value(-1);
        return constructByPath(vm, "flash.geom.Rectangle", {Value(0), Value(0), Value(b->width()), Value(b->height())});
      },
      nullptr);
}

void definePixelMethods(Vm& vm, Object* proto) {
  vm.defineMethod(proto, "getPixel", [](Vm& vm, const Value& self, const Args& args) -> Value {
    BitmapDataObject* b = live(self);
    if (!b) return Value(-1);
    return Value(double(b->pixel(vm.toInt32(arg(args, 0)), vm.toInt32(arg(args, 1))) & 0xFFFFFF));
  });
  vm.defineMethod(proto, "getPixel32", [](Vm& vm, const Value& self, const Args& args) -> Value {
    BitmapDataObject* b = live(self);
    if (!b) return Value(-1);
    return signedPixel(b->pixel(vm.toInt32(arg(args, 0)), vm.toInt32(arg(args, 1))));
  });
  vm.defineMethod(proto, "setPixel32", [](Vm& vm, const Value& self, const Args& args) -> Value {
    BitmapDataObject* b = live(self);
    if (!b) return Value(-1);
    b->setPixel(vm.toInt32(arg(args, 0)), vm.toInt32(arg(args, 1)), uint32_t(vm.toInt32(arg(args, 2))));
    return Value();
  });
  // The colour changes, the pixel's alpha stays.
  vm.defineMethod(proto, "setPixel", [](Vm& vm, const Value& self, const Args& args) -> Value {
    BitmapDataObject* b = live(self);
    if (!b) return Value(-1);
    int x = vm.toInt32(arg(args, 0)), y = vm.toInt32(arg(args, 1));
    uint32_t rgb = uint32_t(vm.toInt32(arg(args, 2))) & 0xFFFFFF;
    b->setPixel(x, y, (b->pixel(x, y) & 0xFF000000u) | rgb);
    return Value();
  });
}

Value fillRect(Vm& vm, const Value& self, const Args& args) {
  BitmapDataObject* b = live(self);
  Object* rect = arg(args, 0).asObject();
  if (!b || !rect) return Value();
  int x = vm.toInt32(rect->get("x")), y = vm.toInt32(rect->get("y"));
  int w = vm.toInt32(rect->get("width")), h = vm.toInt32(rect->get("height"));
  b->fill(x, y, w, h, uint32_t(vm.toInt32(arg(args, 1))));
  return Value();
}

Value clone(Vm& vm, const Value& self, const Args&) {
  BitmapDataObject* b = live(self);
  if (!b) return Value(-1);
  BitmapDataObject* copy = newBitmapData(vm, b->width(), b->height(), b->transparent(), 0);
  if (!copy) return Value();
  for (int y = 0; y < b->height(); ++y) {
    for (int x = 0; x < b->width(); ++x) copy->setPixel(x, y, b->pixel(x, y));
  }
  return Value(static_cast<Object*>(copy));
}

// One pixel of compare's answer: the colour difference (channels wrapping)
// when the colours differ, else the alpha difference over white.
uint32_t pixelDifference(uint32_t a, uint32_t b) {
  auto channel = [](uint32_t p, int shift) { return (p >> shift) & 255; };
  if ((a & 0xFFFFFF) != (b & 0xFFFFFF)) {
    uint32_t out = 0xFF000000u;
    for (int shift : {16, 8, 0}) out |= ((channel(a, shift) - channel(b, shift)) & 255) << shift;
    return out;
  }
  return (((channel(a, 24) - channel(b, 24)) & 255) << 24) | 0xFFFFFF;
}

// 0 for equal bitmaps, else a bitmap of the differences; negative codes for
// a bad this (-1) or argument (-2) and for a different width (-3) or height
// (-4).
Value compare(Vm& vm, const Value& self, const Args& args) {
  BitmapDataObject* a = live(self);
  if (!a) return Value(-1);
  BitmapDataObject* b = live(arg(args, 0));
  if (!b) return Value(-2);
  if (a->width() != b->width()) return Value(-3);
  if (a->height() != b->height()) return Value(-4);
  BitmapDataObject* diff = nullptr;
  for (int y = 0; y < a->height(); ++y) {
    for (int x = 0; x < a->width(); ++x) {
      if (a->pixel(x, y) == b->pixel(x, y)) continue;
      if (!diff) diff = newBitmapData(vm, a->width(), a->height(), true, 0);
      if (!diff) return Value();
      diff->setPixel(x, y, pixelDifference(a->pixel(x, y), b->pixel(x, y)));
    }
  }
  return diff ? Value(static_cast<Object*>(diff)) : Value(0);
}

}  // namespace

void installBitmapDataClass(Vm& vm) {
  Object* proto = vm.newObject();
  NativeFunction* ctor = vm.newFunction([](Vm&, const Value&, const Args&) { return Value(); }, construct);
  ctor->keepConstructResult();
  ctor->define("prototype", Value(proto), DontEnum | DontDelete);
  proto->define("constructor", Value(ctor), DontEnum);
  packageObject(vm, "flash.display")->define("BitmapData", Value(ctor), 0);
  defineSizeAccessors(vm, proto);
  definePixelMethods(vm, proto);
  vm.defineMethod(proto, "fillRect", fillRect);
  vm.defineMethod(proto, "clone", clone);
  vm.defineMethod(proto, "compare", compare);
  vm.defineMethod(proto, "hitTest", bitmapHitTest);
  vm.defineMethod(proto, "dispose", [](Vm&, const Value& self, const Args&) -> Value {
    BitmapDataObject* b = live(self);
    if (!b) return Value(-1);
    b->dispose();
    return Value();
  });
}

}  // namespace avm1
}  // namespace swf
