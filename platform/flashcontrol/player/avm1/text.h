// Strings as scripts see them: UTF-16 units from version 6 (the movie's
// bytes are UTF-8), single bytes before.
#pragma once

#include <string>

namespace swf {
namespace avm1 {

std::u16string toUnits(const std::string& s, int version);
std::string fromUnits(const std::u16string& s, int version);
std::string fromUnit(uint32_t unit, int version);

}  // namespace avm1
}  // namespace swf
