// Action bytes for DoAction tags. Jump and If offsets count bytes from the end of
// the jumping action; size() helps to compute them.
#pragma once

#include <initializer_list>
#include <type_traits>

#include "byte_writer.h"

namespace mvqtest {

// One value of an ActionPush.
struct PushValue {
  uint8_t type = 0;
  Bytes data;

  static PushValue string(const std::string& text);
  static PushValue floating(float value);
  static PushValue null();
  static PushValue undefined();
  static PushValue registerNumber(uint8_t reg);
  static PushValue boolean(bool value);
  static PushValue number(double value);
  static PushValue integer(int32_t value);
  static PushValue constant(uint16_t index);
};

class ActionBuilder {
 public:
  ActionBuilder& stop();
  ActionBuilder& play();
  ActionBuilder& nextFrame();
  ActionBuilder& previousFrame();
  ActionBuilder& gotoFrame(uint16_t frame);  // 0-based
  ActionBuilder& gotoLabel(const std::string& label);
  ActionBuilder& push(const PushValue& value);
  ActionBuilder& push(std::initializer_list<PushValue> values);
  ActionBuilder& jump(int16_t offset);
  ActionBuilder& ifTrue(int16_t offset);
  // Any action: codes below 0x80 take no payload and no length.
  ActionBuilder& action(uint8_t code, const Bytes& payload = {});
  // The same with a code of an enumeration (the player's own, in its tests).
  template <class Code, class = std::enable_if_t<std::is_enum<Code>::value>>
  ActionBuilder& action(Code code, const Bytes& payload = {}) {
    return action(static_cast<uint8_t>(code), payload);
  }
  ActionBuilder& raw(const Bytes& bytes);

  const Bytes& bytes() const { return bytes_; }
  size_t size() const { return bytes_.size(); }

 private:
  Bytes bytes_;
};

}  // namespace mvqtest
