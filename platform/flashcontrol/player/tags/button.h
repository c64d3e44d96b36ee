// A parsed DefineButton or DefineButton2: the characters each state shows
// and the actions run on state transitions (kept as bytes for the script
// engine; they point into the movie's body, which outlives them).
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "../format/color_transform.h"
#include "../format/matrix.h"
#include "filter.h"

namespace swf {

enum ButtonState : uint8_t {
  ButtonUp = 1,
  ButtonOver = 2,
  ButtonDown = 4,
  ButtonHitTest = 8,
};

struct ButtonRecord {
  uint8_t states = 0;  // ButtonState bits
  uint16_t characterId = 0;
  uint16_t depth = 0;
  Matrix matrix;
  ColorTransform colorTransform;  // DefineButton2's own, or DefineButtonCxform's
  uint8_t blendMode = 0;
  FilterList filters;
};

// BUTTONCONDACTION's condition bits, as the two bytes read big-endian.
enum ButtonCondition : uint16_t {
  IdleToOverDown = 0x8000,
  OutDownToIdle = 0x4000,
  OutDownToOverDown = 0x2000,
  OverDownToOutDown = 0x1000,
  OverDownToOverUp = 0x0800,  // a click: DefineButton's only condition
  OverUpToOverDown = 0x0400,
  OverUpToIdle = 0x0200,
  IdleToOverUp = 0x0100,
  KeyPressMask = 0x00FE,  // the key code, shifted left by one
  OverDownToIdle = 0x0001,
};

struct ButtonAction {
  uint16_t conditions = 0;
  const uint8_t* actions = nullptr;  // ACTIONRECORDs up to their end flag
  size_t size = 0;
};

struct Button {
  uint16_t id = 0;
  int version = 1;  // 1: DefineButton, whose colour transform DefineButtonCxform gives
  bool trackAsMenu = false;
  std::vector<ButtonRecord> records;
  std::vector<ButtonAction> actions;
};

// buttonVersion is 1 (DefineButton) or 2 (DefineButton2). False when the
// tag is too damaged to give a character id.
bool parseButton(const uint8_t* body, size_t length, int buttonVersion, Button& out);

// DefineButtonCxform: the colour transform of every record of a DefineButton.
bool parseButtonCxform(const uint8_t* body, size_t length, uint16_t& buttonId, ColorTransform& out);

}  // namespace swf
