#include "number_text.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <limits>

namespace swf {
namespace avm1 {
namespace {

const double kNaN = std::numeric_limits<double>::quiet_NaN();

bool isSpace(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f'; }

int digitValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'z') return c - 'a' + 10;
  if (c >= 'A' && c <= 'Z') return c - 'A' + 10;
  return 99;
}

// Length of the decimal number at s (sign, digits, fraction, exponent), 0
// when there is none.
size_t decimalLength(const char* s) {
  size_t i = 0;
  if (s[i] == '+' || s[i] == '-') ++i;
  size_t digits = 0;
  while (s[i] >= '0' && s[i] <= '9') ++i, ++digits;
  if (s[i] == '.') {
    ++i;
    while (s[i] >= '0' && s[i] <= '9') ++i, ++digits;
  }
  if (digits == 0) return 0;
  if (s[i] == 'e' || s[i] == 'E') {
    size_t j = i + 1;
    if (s[j] == '+' || s[j] == '-') ++j;
    if (s[j] >= '0' && s[j] <= '9') {
      while (s[j] >= '0' && s[j] <= '9') ++j;
      i = j;
    }
  }
  return i;
}

double parseDigits(const char* s, size_t n, int radix) {
  double v = 0;
  for (size_t i = 0; i < n; ++i) v = v * radix + digitValue(s[i]);
  return v;
}

bool isHexStart(const char* s) { return s[0] == '0' && (s[1] == 'x' || s[1] == 'X'); }

// Digits kept modulo 2^32, then read as a 32-bit integer, as the real player
// does for hex and octal text.
double parseInt32Digits(const char* s, size_t n, int radix) {
  uint32_t v = 0;
  for (size_t i = 0; i < n; ++i) v = v * uint32_t(radix) + uint32_t(digitValue(s[i]));
  return double(int32_t(v));
}

// A whole text of octal digits after a leading zero ("030").
bool isOctal(const char* s) {
  if (s[0] != '0' || s[1] == 0) return false;
  for (const char* d = s + 1; *d; ++d) {
    if (*d < '0' || *d > '7') return false;
  }
  return true;
}

}  // namespace

std::string formatNumber(double n) {
  if (std::isnan(n)) return "NaN";
  if (std::isinf(n)) return n > 0 ? "Infinity" : "-Infinity";
  if (n == 0) return "0";
  char buf[40];
  std::snprintf(buf, sizeof buf, "%.14e", n);
  // buf: [-]d.dddddddddddddde[+-]xx
  std::string s(buf);
  size_t e = s.find('e');
  int exponent = std::atoi(s.c_str() + e + 1);
  bool negative = s[0] == '-';
  std::string digits;
  for (size_t i = negative ? 1 : 0; i < e; ++i) {
    if (s[i] != '.') digits.push_back(s[i]);
  }
  while (digits.size() > 1 && digits.back() == '0') digits.pop_back();
  std::string out = negative ? "-" : "";
  if (exponent < -5 || exponent >= 15) {
    out += digits[0];
    if (digits.size() > 1) out += "." + digits.substr(1);
    out += exponent < 0 ? "e-" : "e+";
    out += std::to_string(std::abs(exponent));
  } else if (exponent < 0) {
    out += "0." + std::string(size_t(-exponent - 1), '0') + digits;
  } else if (size_t(exponent) + 1 >= digits.size()) {
    out += digits + std::string(size_t(exponent) + 1 - digits.size(), '0');
  } else {
    out += digits.substr(0, size_t(exponent) + 1) + "." + digits.substr(size_t(exponent) + 1);
  }
  return out;
}

std::string formatNumberRadix(double n, int radix) {
  if (radix < 2 || radix > 36 || radix == 10 || std::isnan(n) || std::isinf(n)) return formatNumber(n);
  // The real player writes the 32-bit integer of the number.
  int64_t v = int64_t(n >= 0 ? std::floor(n) : std::ceil(n));
  if (v > INT32_MAX || v < INT32_MIN) v = int32_t(uint32_t(uint64_t(v)));
  bool negative = v < 0;
  uint64_t u = uint64_t(negative ? -v : v);
  std::string out;
  do {
    out.insert(out.begin(), "0123456789abcdefghijklmnopqrstuvwxyz"[u % uint64_t(radix)]);
    u /= uint64_t(radix);
  } while (u);
  return negative ? "-" + out : out;
}

double parseNumber(const std::string& text, int version) {
  const double invalid = version >= 5 ? kNaN : 0.0;
  const char* s = text.c_str();
  if (version >= 6 && isHexStart(s)) {
    // "0x" counts only at the very start; a sign may follow it.
    const char* d = s + 2;
    bool negative = *d == '-';
    if (*d == '+' || *d == '-') ++d;
    size_t n = 0;
    while (digitValue(d[n]) < 16) ++n;
    if (n == 0 || d[n] != 0) return invalid;
    double v = parseInt32Digits(d, n, 16);
    return negative ? -v : v;
  }
  if (version >= 6) {
    // Octal text may carry a sign, though no white space before it.
    bool negative = *s == '-';
    const char* d = *s == '+' || *s == '-' ? s + 1 : s;
    if (isOctal(d)) {
      double v = parseInt32Digits(d, std::strlen(d), 8);
      return negative ? -v : v;
    }
  }
  while (isSpace(*s)) ++s;
  if (std::strncmp(s, "Infinity", 8) == 0 || std::strncmp(s, "-Infinity", 9) == 0 ||
      std::strncmp(s, "+Infinity", 9) == 0) {
    return invalid;
  }
  size_t len = decimalLength(s);
  if (len == 0) return version >= 5 ? invalid : 0.0;
  const char* end = s + len;
  // Versions 6 and 7 allow no space after the number.
  if (version != 6 && version != 7) {
    while (isSpace(*end)) ++end;
  }
  if (*end != 0) {
    // Before version 5 the number at the start counts.
    if (version >= 5) return invalid;
  }
  return std::strtod(std::string(s, len).c_str(), nullptr);
}

double parseIntPrefix(const std::string& text, int radix, bool radixGiven) {
  if (radixGiven && (radix < 2 || radix > 36)) return kNaN;
  const char* s = text.c_str();
  // "0x" at the very start is skipped, radix or not (and means 16 without
  // one). After a sign the sign and the zero are skipped instead, so the
  // sign is lost and the "x" is read as a digit.
  bool signedHex = (*s == '-' || *s == '+') && isHexStart(s + 1);
  if (isHexStart(s) || signedHex) {
    s += 2;
    if (!radixGiven) radix = 16;
  } else if (!radixGiven) {
    radix = isOctal(*s == '-' || *s == '+' ? s + 1 : s) ? 8 : 10;
  }
  while (isSpace(*s)) ++s;
  bool negative = false;
  if (*s == '+' || *s == '-') negative = *s++ == '-';
  size_t n = 0;
  while (digitValue(s[n]) < radix) ++n;
  if (n == 0) return kNaN;
  double v = parseDigits(s, n, radix);
  return negative ? -v : v;
}

double parseFloatPrefix(const std::string& text) {
  const char* s = text.c_str();
  while (isSpace(*s)) ++s;
  const char* t = s;
  if (*t == '+' || *t == '-') ++t;
  if (std::strncmp(t, "Infinity", 8) == 0) return kNaN;
  size_t len = decimalLength(s);
  if (len == 0) return kNaN;
  return std::strtod(std::string(s, len).c_str(), nullptr);
}

}  // namespace avm1
}  // namespace swf
