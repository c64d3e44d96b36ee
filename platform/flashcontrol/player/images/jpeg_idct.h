// The 8x8 inverse DCT in integers, so every build gives the same samples.
#pragma once

#include <cstdint>

namespace swf {

// Dequantizes one block (natural order) and writes its 8x8 samples, level-shifted and clamped.
void inverseDct(const int16_t* coefficients, const uint16_t* quant, uint8_t* out, int stride);

}  // namespace swf
