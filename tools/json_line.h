// One JSON object on one line, fields in the order they are added:
// {"key": value, "key": value}.
#pragma once

#include <cstdint>
#include <string>

// A JSON string literal. Valid UTF-8 passes through; other bytes, read as Latin-1,
// and control characters are escaped, so any file name gives valid JSON.
std::string jsonString(const std::string& text);

// The shortest text that reads back as the same double, with at least one decimal
// (12.0, 29.5, 0.05).
std::string jsonNumber(double value);

class JsonLine {
 public:
  JsonLine& add(const char* key, int64_t value);
  JsonLine& add(const char* key, double value);
  JsonLine& add(const char* key, const std::string& text);  // as a string literal
  JsonLine& addNull(const char* key);
  JsonLine& addObject(const char* key, const JsonLine& object);

  std::string text() const { return text_ + "}"; }

 private:
  std::string text_ = "{";

  JsonLine& addRaw(const char* key, const std::string& json);
};
