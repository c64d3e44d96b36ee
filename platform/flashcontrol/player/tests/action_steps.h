// Short ways to write the scripts of the player's tests: the engine's own
// action codes, and pushed values named by their type in the action record.
#pragma once

#include <cstdint>
#include <string>

#include "action_builder.h"
#include "avm1/action_codes.h"

namespace playertest {

using Code = swf::avm1::ActionCode;

inline mvqtest::PushValue str(const std::string& s) { return mvqtest::PushValue::string(s); }
inline mvqtest::PushValue i32(int32_t n) { return mvqtest::PushValue::integer(n); }
inline mvqtest::PushValue f64(double n) { return mvqtest::PushValue::number(n); }
inline mvqtest::PushValue reg(uint8_t r) { return mvqtest::PushValue::registerNumber(r); }
inline mvqtest::PushValue undef() { return mvqtest::PushValue::undefined(); }

}  // namespace playertest
