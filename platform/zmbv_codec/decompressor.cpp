#include "decompressor.h"

#include <new>

#include "dib_formats.h"

namespace zmbvcodec {

LRESULT Decompressor::query(const BITMAPINFOHEADER* input, const BITMAPINFOHEADER* output) const {
  if (!isZmbvFrame(input)) return ICERR_BADFORMAT;
  if (output != nullptr && !(isRgbFrame(output) && sameSize(*input, *output))) return ICERR_BADFORMAT;
  return ICERR_OK;
}

LRESULT Decompressor::getFormat(const BITMAPINFOHEADER* input, BITMAPINFOHEADER* output) const {
  if (output == nullptr) return sizeof(BITMAPINFOHEADER);
  if (!isZmbvFrame(input)) return ICERR_BADFORMAT;
  *output = rgbFormatFor(*input);
  return ICERR_OK;
}

LRESULT Decompressor::begin(const BITMAPINFOHEADER* input, const BITMAPINFOHEADER* output) {
  const LRESULT accepted = query(input, output);
  if (accepted != ICERR_OK) return accepted;
  if (output == nullptr) return ICERR_BADFORMAT;
  decoder_.reset(new (std::nothrow) zmbv::FrameDecoder(input->biWidth, input->biHeight));
  if (!decoder_ || !decoder_->ready()) {
    decoder_.reset();
    return ICERR_MEMORY;
  }
  input_ = *input;
  return ICERR_OK;
}

// An empty frame repeats the picture; a frame that does not decode leaves the
// output untouched and is reported.
LRESULT Decompressor::decompress(const ICDECOMPRESS* frame, DWORD size) {
  if (!decoder_) return ICERR_ERROR;
  if (frame == nullptr || size < sizeof(ICDECOMPRESS) || frame->lpbiInput == nullptr || frame->lpOutput == nullptr)
    return ICERR_BADPARAM;
  if (!isRgbFrame(frame->lpbiOutput) || !sameSize(*frame->lpbiOutput, input_) || !sameSize(*frame->lpbiInput, input_))
    return ICERR_BADFORMAT;
  const DWORD bytes = frame->lpbiInput->biSizeImage;
  const bool nullFrame = (frame->dwFlags & ICDECOMPRESS_NULLFRAME) || bytes == 0;
  if (!nullFrame) {
    if (frame->lpInput == nullptr) return ICERR_BADPARAM;
    if (!decoder_->decode(static_cast<const uint8_t*>(frame->lpInput), bytes)) return ICERR_ERROR;
  }
  if (!decoder_->hasPicture()) return ICERR_ERROR;
  if (frame->dwFlags & ICDECOMPRESS_HURRYUP) return ICERR_OK;
  zmbv::writeDib(decoder_->picture(), layoutOf(*frame->lpbiOutput), static_cast<uint8_t*>(frame->lpOutput));
  return ICERR_OK;
}

LRESULT Decompressor::end() {
  decoder_.reset();
  return ICERR_OK;
}

}  // namespace zmbvcodec
