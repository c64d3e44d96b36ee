#include "bitmap_hit_test.h"

#include <algorithm>
#include <initializer_list>

#include "../../vm.h"
#include "bitmap_data_object.h"

namespace swf {
namespace avm1 {
namespace {

struct Spot {
  int x = 0;
  int y = 0;
};

struct Area {
  int x = 0;
  int y = 0;
  int width = 0;
  int height = 0;
};

// Points and rectangles are read from the object's own members, so that any
// object with them serves (and one that only inherits them does not).
bool hasOwnAll(Object* o, std::initializer_list<const char*> names) {
  if (!o) return false;
  for (const char* name : names) {
    if (!o->hasOwn(name)) return false;
  }
  return true;
}

bool readSpot(Vm& vm, const Value& v, Spot& out) {
  Object* o = v.asObject();
  if (!hasOwnAll(o, {"x", "y"})) return false;
  out.x = vm.toInt32(o->get("x"));
  out.y = vm.toInt32(o->get("y"));
  return true;
}

bool readArea(Vm& vm, const Value& v, Area& out) {
  Object* o = v.asObject();
  if (!hasOwnAll(o, {"x", "y", "width", "height"})) return false;
  out.x = vm.toInt32(o->get("x"));
  out.y = vm.toInt32(o->get("y"));
  out.width = vm.toInt32(o->get("width"));
  out.height = vm.toInt32(o->get("height"));
  return true;
}

// Alpha at or above the threshold counts; an opaque bitmap is solid
// everywhere.
bool solid(const BitmapDataObject& b, int x, int y, double threshold) {
  if (!b.contains(x, y)) return false;
  return !b.transparent() || (b.pixel(x, y) >> 24) >= threshold;
}

// A single point never hits a clear pixel, even at threshold 0 (areas and
// bitmaps do).
bool solidPoint(const BitmapDataObject& b, int x, int y, double threshold) {
  return solid(b, x, y, threshold) && (!b.transparent() || (b.pixel(x, y) >> 24) != 0);
}

// Any solid pixel of b inside the area given in b's own coordinates.
bool anySolid(const BitmapDataObject& b, const Area& a, double threshold) {
  int left = std::max(a.x, 0), top = std::max(a.y, 0);
  int right = int(std::min<int64_t>(int64_t(a.x) + a.width, b.width()));
  int bottom = int(std::min<int64_t>(int64_t(a.y) + a.height, b.height()));
  for (int y = top; y < bottom; ++y) {
    for (int x = left; x < right; ++x) {
      if (solid(b, x, y, threshold)) return true;
    }
  }
  return false;
}

// Two bitmaps placed at their points: a hit where both are solid.
bool bitmapsMeet(const BitmapDataObject& a, Spot at, double aThreshold, const BitmapDataObject& b, Spot bAt,
                 double bThreshold) {
  int dx = bAt.x - at.x, dy = bAt.y - at.y;
  for (int y = std::max(0, dy); y < std::min(a.height(), dy + b.height()); ++y) {
    for (int x = std::max(0, dx); x < std::min(a.width(), dx + b.width()); ++x) {
      if (solid(a, x, y, aThreshold) && solid(b, x - dx, y - dy, bThreshold)) return true;
    }
  }
  return false;
}

}  // namespace

Value bitmapHitTest(Vm& vm, const Value& self, const Args& args) {
  BitmapDataObject* b = asBitmapData(self);
  if (!b || b->disposed()) return Value(-1);
  Spot first;
  if (!readSpot(vm, arg(args, 0), first)) return Value(-2);
  double threshold = vm.toNumber(arg(args, 1));
  const Value& second = arg(args, 2);
  if (BitmapDataObject* other = asBitmapData(second)) {
    if (other->disposed()) return Value(-3);
    Spot otherAt;
    if (!readSpot(vm, arg(args, 3), otherAt)) return Value(-4);
    double otherThreshold = vm.toNumber(arg(args, 4));
    return Value(bitmapsMeet(*b, first, threshold, *other, otherAt, otherThreshold));
  }
  Area area;
  if (readArea(vm, second, area)) {
    area.x -= first.x;
    area.y -= first.y;
    return Value(anySolid(*b, area, threshold));
  }
  Spot point;
  if (!readSpot(vm, second, point)) return Value(-3);
  return Value(solidPoint(*b, point.x - first.x, point.y - first.y, threshold));
}

}  // namespace avm1
}  // namespace swf
