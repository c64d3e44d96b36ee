#include "bitmap_data_object.h"

#include <algorithm>

#include "../../vm.h"
#include "../geom/script_ops.h"

namespace swf {
namespace avm1 {

BitmapDataObject::BitmapDataObject(Vm& vm, Object* proto, int width, int height, bool transparent, uint32_t fill)
    : Object(vm, proto), width_(width), height_(height), transparent_(transparent) {
  pixels_.assign(size_t(width) * size_t(height), stored(fill));
}

void BitmapDataObject::dispose() {
  disposed_ = true;
  width_ = height_ = 0;
  std::vector<uint32_t>().swap(pixels_);
}

uint32_t BitmapDataObject::stored(uint32_t argb) const {
  if (!transparent_) return argb | 0xFF000000u;
  return (argb >> 24) == 0 ? 0 : argb;
}

uint32_t BitmapDataObject::pixel(int x, int y) const {
  return contains(x, y) ? pixels_[size_t(y) * size_t(width_) + size_t(x)] : 0;
}

void BitmapDataObject::setPixel(int x, int y, uint32_t argb) {
  if (contains(x, y)) pixels_[size_t(y) * size_t(width_) + size_t(x)] = stored(argb);
}

void BitmapDataObject::fill(int x, int y, int w, int h, uint32_t argb) {
  int left = std::max(x, 0), top = std::max(y, 0);
  int right = int(std::min<int64_t>(int64_t(x) + w, width_));
  int bottom = int(std::min<int64_t>(int64_t(y) + h, height_));
  for (int row = top; row < bottom; ++row) {
    for (int col = left; col < right; ++col) setPixel(col, row, argb);
  }
}

BitmapDataObject* asBitmapData(const Value& v) { return dynamic_cast<BitmapDataObject*>(v.asObject()); }

bool bitmapSizeAllowed(int version, double width, double height) {
  if (!(width >= 1) || !(height >= 1)) return false;
  if (version < 10) return width <= 2880 && height <= 2880;
  return width <= 8191 && height <= 8191 && width * height < 16777216.0;
}

BitmapDataObject* newBitmapData(Vm& vm, int width, int height, bool transparent, uint32_t fill) {
  Object* ctor = objectByPath(vm, "flash.display.BitmapData");
  Object* proto = ctor ? ctor->get("prototype").asObject() : nullptr;
  if (!proto) return nullptr;
  return vm.make<BitmapDataObject>(proto, width, height, transparent, fill);
}

}  // namespace avm1
}  // namespace swf
