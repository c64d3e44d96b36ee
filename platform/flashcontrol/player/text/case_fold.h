// Names compared without case, as movies before version 7 do: ASCII and the
// letters of Latin-1, Latin Extended-A/B, Greek and Cyrillic that have a
// simple lowercase form (later scripts' pairs do not fold).
#pragma once

#include <cstdint>
#include <string>

namespace swf {

// The lowercase of one code point (itself when it has none in the table).
uint32_t foldedCodePoint(uint32_t c);
// UTF-8 text with every letter folded; bytes that are no UTF-8 stay.
std::string foldCase(const std::string& text);
// a and b equal once folded (no copies when both are ASCII).
bool sameFoldedText(const std::string& a, const std::string& b);

}  // namespace swf
