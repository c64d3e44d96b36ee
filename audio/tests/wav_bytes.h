// Hand-made RIFF files for the WAV tests: chunks in any order and of any size.
#pragma once

#include <cstdint>
#include <string>

#include "byte_writer.h"

namespace audiotest {

using mvqtest::Bytes;

Bytes chunk(const char id[4], const Bytes& body);
// RIFF form of the given type around the chunks (already concatenated).
Bytes riff(const char formType[4], const Bytes& chunks);
// The 16 bytes of a PCM "fmt " body.
Bytes pcmFormatBody(uint16_t channels, uint32_t rate, uint16_t bits);
uint32_t u32At(const Bytes& bytes, size_t offset);
uint16_t u16At(const Bytes& bytes, size_t offset);
std::string fourccAt(const Bytes& bytes, size_t offset);

inline Bytes operator+(Bytes first, const Bytes& second) {
  first.insert(first.end(), second.begin(), second.end());
  return first;
}

}  // namespace audiotest
