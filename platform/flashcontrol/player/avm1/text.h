// Strings as scripts see them: UTF-16 units from version 6 (the movie's
// bytes are UTF-8), single bytes before.
#pragma once

#include <string>

namespace swf {
namespace avm1 {

std::u16string toUnits(const std::string& s, int version);
std::string fromUnits(const std::u16string& s, int version);
std::string fromUnit(uint32_t unit, int version);
// Text for a UTF-8 log: a unit of an unpaired surrogate becomes U+FFFD.
std::string withoutLoneSurrogates(const std::string& s);

}  // namespace avm1
}  // namespace swf
