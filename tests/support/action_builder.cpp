#include "action_builder.h"

#include <cstring>

namespace mvqtest {

namespace {

PushValue typed(uint8_t type, Bytes data = {}) { return PushValue{type, std::move(data)}; }

Bytes u32Bytes(uint32_t value) {
  Bytes out;
  putU32(out, value);
  return out;
}

}  // namespace

PushValue PushValue::string(const std::string& text) {
  Bytes data;
  putString(data, text);
  return typed(0, data);
}

PushValue PushValue::floating(float value) {
  uint32_t bits;
  std::memcpy(&bits, &value, sizeof bits);
  return typed(1, u32Bytes(bits));
}

PushValue PushValue::null() { return typed(2); }
PushValue PushValue::undefined() { return typed(3); }
PushValue PushValue::registerNumber(uint8_t reg) { return typed(4, {reg}); }
PushValue PushValue::boolean(bool value) { return typed(5, {static_cast<uint8_t>(value)}); }

// SWF stores a double as two 32-bit little-endian halves, high half first.
PushValue PushValue::number(double value) {
  uint64_t bits;
  std::memcpy(&bits, &value, sizeof bits);
  Bytes data = u32Bytes(static_cast<uint32_t>(bits >> 32));
  append(data, u32Bytes(static_cast<uint32_t>(bits)));
  return typed(6, data);
}

PushValue PushValue::integer(int32_t value) { return typed(7, u32Bytes(static_cast<uint32_t>(value))); }

PushValue PushValue::constant(uint16_t index) {
  if (index < 256) return typed(8, {static_cast<uint8_t>(index)});
  Bytes data;
  putU16(data, index);
  return typed(9, data);
}

ActionBuilder& ActionBuilder::stop() { return action(0x07); }
ActionBuilder& ActionBuilder::play() { return action(0x06); }
ActionBuilder& ActionBuilder::nextFrame() { return action(0x04); }
ActionBuilder& ActionBuilder::previousFrame() { return action(0x05); }

ActionBuilder& ActionBuilder::gotoFrame(uint16_t frame) {
  Bytes payload;
  putU16(payload, frame);
  return action(0x81, payload);
}

ActionBuilder& ActionBuilder::gotoLabel(const std::string& label) {
  Bytes payload;
  putString(payload, label);
  return action(0x8C, payload);
}

ActionBuilder& ActionBuilder::push(const PushValue& value) { return push({value}); }

ActionBuilder& ActionBuilder::push(std::initializer_list<PushValue> values) {
  Bytes payload;
  for (const PushValue& v : values) {
    putU8(payload, v.type);
    append(payload, v.data);
  }
  return action(0x96, payload);
}

ActionBuilder& ActionBuilder::jump(int16_t offset) {
  Bytes payload;
  putU16(payload, static_cast<uint16_t>(offset));
  return action(0x99, payload);
}

ActionBuilder& ActionBuilder::ifTrue(int16_t offset) {
  Bytes payload;
  putU16(payload, static_cast<uint16_t>(offset));
  return action(0x9D, payload);
}

ActionBuilder& ActionBuilder::action(uint8_t code, const Bytes& payload) {
  putU8(bytes_, code);
  if (code >= 0x80) {
    putU16(bytes_, static_cast<uint32_t>(payload.size()));
    append(bytes_, payload);
  }
  return *this;
}

ActionBuilder& ActionBuilder::raw(const Bytes& bytes) {
  append(bytes_, bytes);
  return *this;
}

}  // namespace mvqtest
