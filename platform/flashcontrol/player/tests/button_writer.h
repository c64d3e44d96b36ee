// Writes DefineButton, DefineButton2 and DefineButtonCxform bodies for the
// player's tests.
#pragma once

#include <optional>
#include <vector>

#include "swf_builder.h"

namespace playertest {

using mvqtest::Bytes;

struct ButtonRecordDraft {
  uint8_t states = 1;  // bit 0 up, 1 over, 2 down, 3 hit test
  uint16_t character = 0;
  uint16_t depth = 1;
  mvqtest::Matrix matrix;
  mvqtest::ColorTransform cx;        // DefineButton2 only
  std::optional<uint8_t> blendMode;  // DefineButton2 only
};

struct ButtonActionDraft {
  uint16_t conditions = 0;
  Bytes actions;  // ACTIONRECORDs with their end flag
};

Bytes buttonBody(uint16_t id, const std::vector<ButtonRecordDraft>& records, const Bytes& actions);
Bytes button2Body(uint16_t id, const std::vector<ButtonRecordDraft>& records,
                  const std::vector<ButtonActionDraft>& actions, bool trackAsMenu = false);
// CXFORM without alpha.
Bytes buttonCxformBody(uint16_t id, const mvqtest::ColorTransform& cx);

constexpr uint16_t kDefineButton = 7, kDefineButtonCxform = 23, kDefineButton2 = 34;

}  // namespace playertest
