// Target paths of SetTarget and GotoFrame2: "/a/b", "a/b", "../x",
// "_root.a.b", "_parent", "this", "_level0", and "path:frame" frame names.
#pragma once

#include <string>

#include "action_target.h"

namespace swf {
namespace avm1 {

// The target named by path relative to from, or nullptr when it names none.
ActionTarget* resolveTarget(ActionTarget& from, const std::string& path);

// Splits "path:frame" at its last colon; text without one is all frame.
void splitFramePath(const std::string& text, std::string& path, std::string& frame);

}  // namespace avm1
}  // namespace swf
