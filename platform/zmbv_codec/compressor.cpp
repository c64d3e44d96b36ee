#include "compressor.h"

#include <new>

#include "dib_formats.h"

namespace zmbvcodec {

LRESULT Compressor::query(const BITMAPINFOHEADER* input, const BITMAPINFOHEADER* output) const {
  if (!isRgbFrame(input)) return ICERR_BADFORMAT;
  if (output != nullptr && !(isZmbvFrame(output) && sameSize(*input, *output))) return ICERR_BADFORMAT;
  return ICERR_OK;
}

// Without an output header the answer is the size of the format.
LRESULT Compressor::getFormat(const BITMAPINFOHEADER* input, BITMAPINFOHEADER* output) const {
  if (output == nullptr) return sizeof(BITMAPINFOHEADER);
  if (!isRgbFrame(input)) return ICERR_BADFORMAT;
  *output = zmbvFormatFor(*input);
  return ICERR_OK;
}

LRESULT Compressor::getSize(const BITMAPINFOHEADER* input, const BITMAPINFOHEADER* output) const {
  if (!isRgbFrame(input)) return 0;
  return static_cast<LRESULT>(zmbv::FrameEncoder::maxFrameSize(input->biWidth, layoutOf(*input).height));
}

LRESULT Compressor::begin(const BITMAPINFOHEADER* input, const BITMAPINFOHEADER* output, const CodecState& state) {
  const LRESULT accepted = query(input, output);
  if (accepted != ICERR_OK) return accepted;
  const zmbv::DibLayout layout = layoutOf(*input);
  encoder_.reset(new (std::nothrow) zmbv::FrameEncoder(layout.width, layout.height, state.searchRange));
  if (!encoder_ || !encoder_->ready()) {
    encoder_.reset();
    return ICERR_MEMORY;
  }
  input_ = *input;
  return ICERR_OK;
}

LRESULT Compressor::compress(ICCOMPRESS* frame, DWORD size) {
  if (!encoder_) return ICERR_ERROR;
  if (frame == nullptr || size < sizeof(ICCOMPRESS) || frame->lpInput == nullptr || frame->lpOutput == nullptr ||
      frame->lpbiOutput == nullptr)
    return ICERR_BADPARAM;
  if (!isRgbFrame(frame->lpbiInput) || !sameSize(*frame->lpbiInput, input_) ||
      frame->lpbiInput->biBitCount != input_.biBitCount)
    return ICERR_BADFORMAT;
  const zmbv::DibLayout layout = layoutOf(*frame->lpbiInput);
  encoder_->readFrame(static_cast<const uint8_t*>(frame->lpInput), layout);
  bool keyFrame = false;
  const size_t written = encoder_->encode((frame->dwFlags & ICCOMPRESS_KEYFRAME) != 0,
                                          zlibLevelForQuality(frame->dwQuality), static_cast<uint8_t*>(frame->lpOutput),
                                          zmbv::FrameEncoder::maxFrameSize(layout.width, layout.height), keyFrame);
  if (written == 0) return ICERR_ERROR;
  frame->lpbiOutput->biSizeImage = static_cast<DWORD>(written);
  if (frame->lpdwFlags != nullptr) *frame->lpdwFlags = keyFrame ? AVIIF_KEYFRAME : 0;
  return ICERR_OK;
}

LRESULT Compressor::end() {
  encoder_.reset();
  return ICERR_OK;
}

}  // namespace zmbvcodec
