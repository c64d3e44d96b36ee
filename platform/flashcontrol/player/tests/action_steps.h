// Short ways to write and run the scripts of the player's tests: the engine's
// own action codes, pushed values named by their type in the action record,
// and the trace lines of a one-frame movie running a script.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "action_builder.h"
#include "avm1/action_codes.h"
#include "swf_builder.h"
#include "timeline/movie.h"
#include "timeline/stage.h"

namespace playertest {

using Code = swf::avm1::ActionCode;

inline mvqtest::PushValue str(const std::string& s) { return mvqtest::PushValue::string(s); }
inline mvqtest::PushValue i32(int32_t n) { return mvqtest::PushValue::integer(n); }
inline mvqtest::PushValue f64(double n) { return mvqtest::PushValue::number(n); }
inline mvqtest::PushValue reg(uint8_t r) { return mvqtest::PushValue::registerNumber(r); }
inline mvqtest::PushValue undef() { return mvqtest::PushValue::undefined(); }

// The lines a movie of that version traces in its first frame, running a.
inline std::vector<std::string> traced(int version, const mvqtest::ActionBuilder& a) {
  mvqtest::SwfBuilder b;
  b.version(uint8_t(version));
  b.doAction(a);
  b.showFrame();
  swf::Movie movie;
  EXPECT_TRUE(movie.parse(b.finish()));
  std::vector<std::string> lines;
  swf::Stage stage(movie, nullptr, nullptr, [&lines](const std::string& line) { lines.push_back(line); });
  return lines;
}

}  // namespace playertest
