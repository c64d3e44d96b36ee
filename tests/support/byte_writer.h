// Little-endian byte appends for building SWF records in tests.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace mvqtest {

using Bytes = std::vector<uint8_t>;

inline void putU8(Bytes& out, uint32_t value) { out.push_back(static_cast<uint8_t>(value)); }

inline void putU16(Bytes& out, uint32_t value) {
  putU8(out, value);
  putU8(out, value >> 8);
}

inline void putU32(Bytes& out, uint32_t value) {
  putU16(out, value);
  putU16(out, value >> 16);
}

// A NUL-terminated string, as SWF stores names and labels.
inline void putString(Bytes& out, const std::string& text) {
  out.insert(out.end(), text.begin(), text.end());
  putU8(out, 0);
}

inline void append(Bytes& out, const Bytes& more) { out.insert(out.end(), more.begin(), more.end()); }

}  // namespace mvqtest
