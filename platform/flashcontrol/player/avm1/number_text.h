// Numbers as the real player writes and reads them.
#pragma once

#include <string>

namespace swf {
namespace avm1 {

// 15 significant digits; exponent form ("1e+15", "1.5e-7") below 1e-5 and
// from 1e15; "NaN", "Infinity", "-Infinity".
std::string formatNumber(double n);
// n written in radix 2..36 (integers; other radixes give decimal).
std::string formatNumberRadix(double n, int radix);

// ToNumber of a string: decimal with optional sign, fraction and exponent,
// surrounding white space allowed; from version 6 "0x" hex and "0" octal
// when the text starts with them. Text that is no number gives NaN (0
// before version 5).
double parseNumber(const std::string& text, int version);

// parseInt and parseFloat: the longest number at the start of the text.
double parseIntPrefix(const std::string& text, int radix, bool radixGiven);
double parseFloatPrefix(const std::string& text);

}  // namespace avm1
}  // namespace swf
