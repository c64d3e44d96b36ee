// The object of flash.geom.ColorTransform: four multipliers and four offsets
// (red, green, blue, alpha) held as numbers, as the real player's native
// class holds them.
#pragma once

#include "../../object.h"

namespace swf {
namespace avm1 {

class ColorTransformObject : public Object {
 public:
  ColorTransformObject(Vm& vm, Object* proto) : Object(vm, proto) {}
  // Multipliers (1 is unchanged) then offsets (-255..255).
  double fields[8] = {1, 1, 1, 1, 0, 0, 0, 0};
};

// A new flash.geom.ColorTransform with these fields (nullptr when a movie
// removed the class).
Object* newColorTransform(Vm& vm, const double fields[8]);

}  // namespace avm1
}  // namespace swf
