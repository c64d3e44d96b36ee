#include "wav_bytes.h"

namespace audiotest {

using mvqtest::append;
using mvqtest::putU16;
using mvqtest::putU32;

Bytes chunk(const char id[4], const Bytes& body) {
  Bytes out(id, id + 4);
  putU32(out, static_cast<uint32_t>(body.size()));
  append(out, body);
  if (body.size() % 2) out.push_back(0);
  return out;
}

Bytes riff(const char formType[4], const Bytes& chunks) {
  Bytes form(formType, formType + 4);
  append(form, chunks);
  return chunk("RIFF", form);
}

Bytes pcmFormatBody(uint16_t channels, uint32_t rate, uint16_t bits) {
  Bytes out;
  const uint16_t align = static_cast<uint16_t>(channels * bits / 8);
  putU16(out, 1);
  putU16(out, channels);
  putU32(out, rate);
  putU32(out, rate * align);
  putU16(out, align);
  putU16(out, bits);
  return out;
}

uint32_t u32At(const Bytes& bytes, size_t offset) {
  if (offset + 4 > bytes.size()) return 0;
  return bytes[offset] | bytes[offset + 1] << 8 | bytes[offset + 2] << 16 | uint32_t(bytes[offset + 3]) << 24;
}

uint16_t u16At(const Bytes& bytes, size_t offset) {
  if (offset + 2 > bytes.size()) return 0;
  return static_cast<uint16_t>(bytes[offset] | bytes[offset + 1] << 8);
}

std::string fourccAt(const Bytes& bytes, size_t offset) {
  if (offset + 4 > bytes.size()) return {};
  return std::string(bytes.begin() + offset, bytes.begin() + offset + 4);
}

}  // namespace audiotest
