// DefineEditText bodies.
#pragma once

#include <cstddef>
#include <cstdint>

#include "edit_text.h"

namespace swf {

// False when the tag is too short to name its character; otherwise out
// holds the fields read up to any damage.
bool parseEditText(const uint8_t* body, size_t length, EditText& out);

}  // namespace swf
