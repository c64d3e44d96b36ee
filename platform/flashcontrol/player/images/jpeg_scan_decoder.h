// Decodes the entropy-coded data of one scan into a frame's coefficients.
#pragma once

#include <cstddef>
#include <cstdint>

#include "jpeg_frame.h"

namespace swf {

// Starts at pos (just after the scan header) and returns where the data
// stopped. Damaged or missing data ends the scan early: blocks not reached
// keep zero coefficients, which come out mid-grey.
size_t decodeScan(const uint8_t* data, size_t size, size_t pos, const JpegScan& scan, int restartInterval,
                  JpegFrame& frame);

}  // namespace swf
