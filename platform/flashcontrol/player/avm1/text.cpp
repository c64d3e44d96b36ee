#include "text.h"

namespace swf {
namespace avm1 {

std::u16string toUnits(const std::string& s, int version) {
  std::u16string out;
  out.reserve(s.size());
  if (version < 6) {
    for (unsigned char c : s) out.push_back(char16_t(c));
    return out;
  }
  for (size_t i = 0; i < s.size();) {
    unsigned char c = uint8_t(s[i]);
    uint32_t cp = c;
    size_t n = 1;
    if (c >= 0xC0 && c < 0xE0 && i + 1 < s.size()) {
      cp = (c & 0x1Fu) << 6 | (uint8_t(s[i + 1]) & 0x3Fu);
      n = 2;
    } else if (c >= 0xE0 && c < 0xF0 && i + 2 < s.size()) {
      cp = (c & 0x0Fu) << 12 | (uint8_t(s[i + 1]) & 0x3Fu) << 6 | (uint8_t(s[i + 2]) & 0x3Fu);
      n = 3;
    } else if (c >= 0xF0 && c < 0xF8 && i + 3 < s.size()) {
      cp = (c & 0x07u) << 18 | (uint8_t(s[i + 1]) & 0x3Fu) << 12 | (uint8_t(s[i + 2]) & 0x3Fu) << 6 |
           (uint8_t(s[i + 3]) & 0x3Fu);
      n = 4;
    }
    i += n;
    if (cp >= 0x10000 && cp <= 0x10FFFF) {
      cp -= 0x10000;
      out.push_back(char16_t(0xD800 + (cp >> 10)));
      out.push_back(char16_t(0xDC00 + (cp & 0x3FF)));
    } else {
      out.push_back(char16_t(cp & 0xFFFF));
    }
  }
  return out;
}

std::string fromUnit(uint32_t u, int version) {
  std::string out;
  if (version < 6) {
    out.push_back(char(u & 0xFF));
    return out;
  }
  if (u < 0x80) {
    out.push_back(char(u));
  } else if (u < 0x800) {
    out.push_back(char(0xC0 | (u >> 6)));
    out.push_back(char(0x80 | (u & 0x3F)));
  } else if (u < 0x10000) {
    out.push_back(char(0xE0 | (u >> 12)));
    out.push_back(char(0x80 | ((u >> 6) & 0x3F)));
    out.push_back(char(0x80 | (u & 0x3F)));
  } else {
    out.push_back(char(0xF0 | (u >> 18)));
    out.push_back(char(0x80 | ((u >> 12) & 0x3F)));
    out.push_back(char(0x80 | ((u >> 6) & 0x3F)));
    out.push_back(char(0x80 | (u & 0x3F)));
  }
  return out;
}

std::string fromUnits(const std::u16string& s, int version) {
  std::string out;
  out.reserve(s.size());
  for (size_t i = 0; i < s.size(); ++i) {
    uint32_t u = s[i];
    if (version >= 6 && u >= 0xD800 && u < 0xDC00 && i + 1 < s.size() && s[i + 1] >= 0xDC00 && s[i + 1] < 0xE000) {
      u = 0x10000 + ((u - 0xD800) << 10) + (s[i + 1] - 0xDC00);
      ++i;
    }
    out += fromUnit(u, version);
  }
  return out;
}

std::string withoutLoneSurrogates(const std::string& s) {
  std::string out;
  out.reserve(s.size());
  for (size_t i = 0; i < s.size(); ++i) {
    // Surrogates are the only three-byte forms led by 0xED with 0xA0..0xBF next.
    if ((unsigned char)s[i] == 0xED && i + 2 < s.size() && (unsigned char)s[i + 1] >= 0xA0 &&
        (unsigned char)s[i + 1] <= 0xBF) {
      out += "\xEF\xBF\xBD";
      i += 2;
      continue;
    }
    out += s[i];
  }
  return out;
}

}  // namespace avm1
}  // namespace swf
