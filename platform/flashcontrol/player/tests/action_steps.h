// Short ways to write and run the scripts of the player's tests: the engine's
// own action codes, pushed values named by their type in the action record,
// function definitions, and the trace lines of a one-frame movie running a
// script. Test files take the names with `using namespace playertest;`.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "action_builder.h"
#include "avm1/action_codes.h"
#include "swf_builder.h"
#include "timeline/movie.h"
#include "timeline/stage.h"

namespace playertest {

using mvqtest::ActionBuilder;
using mvqtest::Bytes;
using mvqtest::PlaceObject2;
using mvqtest::PushValue;
using mvqtest::SwfBuilder;
using mvqtest::TagStream;
using Code = swf::avm1::ActionCode;
using Lines = std::vector<std::string>;

inline PushValue str(const std::string& s) { return PushValue::string(s); }
inline PushValue i32(int32_t n) { return PushValue::integer(n); }
inline PushValue f64(double n) { return PushValue::number(n); }
inline PushValue reg(uint8_t r) { return PushValue::registerNumber(r); }
inline PushValue undef() { return PushValue::undefined(); }

inline ActionBuilder& trace(ActionBuilder& a, const PushValue& v) { return a.push(v).action(Code::Trace); }

// trace(name): the variable or path's value.
inline ActionBuilder& traceVar(ActionBuilder& a, const std::string& name) {
  return a.push(str(name)).action(Code::GetVariable).action(Code::Trace);
}

// name(args...) as a plain call, the result left on the stack.
inline ActionBuilder& call(ActionBuilder& a, const std::string& name, std::vector<PushValue> args = {}) {
  for (auto it = args.rbegin(); it != args.rend(); ++it) a.push(*it);
  return a.push({i32(int32_t(args.size())), str(name)}).action(Code::CallFunction);
}

// object.method(args...), the result left on the stack.
inline ActionBuilder& callMethod(ActionBuilder& a, const std::string& object, const std::string& method,
                                 std::vector<PushValue> args) {
  for (auto it = args.rbegin(); it != args.rend(); ++it) a.push(*it);
  a.push(i32(int32_t(args.size()))).push(str(object)).action(Code::GetVariable);
  return a.push(str(method)).action(Code::CallMethod);
}

// DefineFunction and its body: a name ("" for a function left on the stack),
// then the parameters' names.
inline ActionBuilder& defineFunction(ActionBuilder& a, const std::string& name, const std::vector<std::string>& params,
                                     const ActionBuilder& body) {
  Bytes p;
  mvqtest::putString(p, name);
  mvqtest::putU16(p, uint32_t(params.size()));
  for (const std::string& param : params) mvqtest::putString(p, param);
  mvqtest::putU16(p, uint32_t(body.size()));
  return a.action(Code::DefineFunction, p).raw(body.bytes());
}

// DefineFunction2 and its body: registers to allocate, the preload and
// suppress flags, parameters as (register, name) pairs (register 0 keeps
// the parameter a variable).
inline ActionBuilder& defineFunction2(ActionBuilder& a, const std::string& name, uint8_t registers, uint16_t flags,
                                      const std::vector<std::pair<uint8_t, std::string>>& params,
                                      const ActionBuilder& body) {
  Bytes p;
  mvqtest::putString(p, name);
  mvqtest::putU16(p, uint32_t(params.size()));
  mvqtest::putU8(p, registers);
  mvqtest::putU16(p, flags);
  for (const auto& param : params) {
    mvqtest::putU8(p, param.first);
    mvqtest::putString(p, param.second);
  }
  mvqtest::putU16(p, uint32_t(body.size()));
  return a.action(Code::DefineFunction2, p).raw(body.bytes());
}

// The lines a movie of that version traces in its first frame, running a.
inline Lines traced(int version, const ActionBuilder& a) {
  SwfBuilder b;
  b.version(uint8_t(version));
  b.doAction(a);
  b.showFrame();
  swf::Movie movie;
  EXPECT_TRUE(movie.parse(b.finish()));
  Lines lines;
  swf::Stage stage(movie, nullptr, nullptr, [&lines](const std::string& line) { lines.push_back(line); });
  return lines;
}

}  // namespace playertest
