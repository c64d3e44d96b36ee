// AVM1 action codes the interpreter looks at. Codes of 0x80 and above carry
// a 16-bit payload length.
#pragma once

#include <cstdint>

namespace swf {
namespace avm1 {

enum class ActionCode : uint8_t {
  End = 0x00,
  NextFrame = 0x04,
  PrevFrame = 0x05,
  Play = 0x06,
  Stop = 0x07,
  Add = 0x0A,
  Subtract = 0x0B,
  Multiply = 0x0C,
  Divide = 0x0D,
  Equals = 0x0E,
  Less = 0x0F,
  And = 0x10,
  Or = 0x11,
  Not = 0x12,
  StringEquals = 0x13,
  Pop = 0x17,
  GetVariable = 0x1C,
  SetVariable = 0x1D,
  SetTarget2 = 0x20,
  StringAdd = 0x21,
  DefineLocal = 0x3C,
  DefineLocal2 = 0x41,
  Add2 = 0x47,
  Less2 = 0x48,
  Equals2 = 0x49,
  PushDuplicate = 0x4C,
  StackSwap = 0x4D,
  StrictEquals = 0x66,
  Greater = 0x67,
  GotoFrame = 0x81,
  WaitForFrame = 0x8A,
  SetTarget = 0x8B,
  GoToLabel = 0x8C,
  WaitForFrame2 = 0x8D,
  DefineFunction2 = 0x8E,
  ConstantPool = 0x88,
  Push = 0x96,
  Jump = 0x99,
  DefineFunction = 0x9B,
  If = 0x9D,
  GotoFrame2 = 0x9F,
};

}  // namespace avm1
}  // namespace swf
