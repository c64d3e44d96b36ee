// Turns a decoded frame's coefficients into the picture: inverse DCT,
// chroma upsampling and colour conversion.
#pragma once

#include "decoded_image.h"
#include "jpeg_frame.h"

namespace swf {

// `rgb`: three components already hold red, green and blue (Adobe transform 0).
// Frees the coefficients as it goes.
void reconstructJpeg(JpegFrame& frame, bool rgb, DecodedImage* out);

}  // namespace swf
