#include "json_line.h"

#include <charconv>
#include <cmath>
#include <cstdio>

namespace {

// Length of the well-formed UTF-8 sequence at text[at], or 0.
size_t utf8Length(const std::string& text, size_t at) {
  const auto byte = [&](size_t i) { return static_cast<unsigned char>(text[i]); };
  const unsigned char lead = byte(at);
  size_t length = lead >= 0xF0 && lead <= 0xF4 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC2 && lead < 0xE0 ? 2 : 0;
  if (length == 0 || at + length > text.size()) return 0;
  for (size_t i = 1; i < length; ++i) {
    if ((byte(at + i) & 0xC0) != 0x80) return 0;
  }
  const unsigned char second = byte(at + 1);
  if ((lead == 0xE0 && second < 0xA0) || (lead == 0xED && second >= 0xA0) || (lead == 0xF0 && second < 0x90) ||
      (lead == 0xF4 && second >= 0x90)) {
    return 0;  // overlong, surrogate, or past U+10FFFF
  }
  return length;
}

std::string unicodeEscape(unsigned code) {
  char buffer[8];
  std::snprintf(buffer, sizeof buffer, "\\u%04x", code);
  return buffer;
}

}  // namespace

std::string jsonString(const std::string& text) {
  std::string out = "\"";
  for (size_t i = 0; i < text.size();) {
    const unsigned char c = static_cast<unsigned char>(text[i]);
    if (c >= 0x80) {
      const size_t length = utf8Length(text, i);
      out += length ? text.substr(i, length) : unicodeEscape(c);
      i += length ? length : 1;
      continue;
    }
    switch (c) {
      case '"': out += "\\\""; break;
      case '\\': out += "\\\\"; break;
      case '\n': out += "\\n"; break;
      case '\r': out += "\\r"; break;
      case '\t': out += "\\t"; break;
      default: out += c < 0x20 || c == 0x7F ? unicodeEscape(c) : std::string(1, static_cast<char>(c));
    }
    ++i;
  }
  return out + "\"";
}

std::string jsonNumber(double value) {
  if (!std::isfinite(value)) return "null";
  char buffer[400];
  const double magnitude = std::fabs(value);
  const bool plain = magnitude == 0 || (magnitude >= 1e-5 && magnitude < 1e17);
  const auto result = plain ? std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed)
                            : std::to_chars(buffer, buffer + sizeof buffer, value);
  std::string text(buffer, result.ptr);
  if (text.find_first_of(".e") == std::string::npos) text += ".0";
  return text;
}

JsonLine& JsonLine::addRaw(const char* key, const std::string& json) {
  if (text_.size() > 1) text_ += ", ";
  text_ += jsonString(key) + ": " + json;
  return *this;
}

JsonLine& JsonLine::add(const char* key, int64_t value) { return addRaw(key, std::to_string(value)); }
JsonLine& JsonLine::add(const char* key, double value) { return addRaw(key, jsonNumber(value)); }
JsonLine& JsonLine::add(const char* key, const std::string& text) { return addRaw(key, jsonString(text)); }
JsonLine& JsonLine::addNull(const char* key) { return addRaw(key, "null"); }
JsonLine& JsonLine::addObject(const char* key, const JsonLine& object) { return addRaw(key, object.text()); }
