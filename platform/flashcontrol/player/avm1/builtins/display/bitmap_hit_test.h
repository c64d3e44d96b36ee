// BitmapData.hitTest: a bitmap's opaque pixels against a point, a
// rectangle or another bitmap's opaque pixels.
#pragma once

#include "../../function.h"

namespace swf {
namespace avm1 {

// hitTest(firstPoint, firstAlphaThreshold, secondObject, secondBitmapPoint,
// secondAlphaThreshold): true or false, or the real player's error codes:
// -1 for a disposed bitmap, -2 for a bad first point, -3 for a second
// object that is no point, rectangle or live bitmap, -4 for a bad second
// bitmap point.
Value bitmapHitTest(Vm& vm, const Value& self, const Args& args);

}  // namespace avm1
}  // namespace swf
