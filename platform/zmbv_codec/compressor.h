// The compressing half of an open codec: format negotiation and one encoder
// from ICM_COMPRESS_BEGIN to ICM_COMPRESS_END.
#pragma once

#include <windows.h>
#include <vfw.h>

#include <memory>

#include "codec_settings.h"
#include "core/frame_encoder.h"

namespace zmbvcodec {

class Compressor {
 public:
  LRESULT query(const BITMAPINFOHEADER* input, const BITMAPINFOHEADER* output) const;
  LRESULT getFormat(const BITMAPINFOHEADER* input, BITMAPINFOHEADER* output) const;
  LRESULT getSize(const BITMAPINFOHEADER* input, const BITMAPINFOHEADER* output) const;
  LRESULT begin(const BITMAPINFOHEADER* input, const BITMAPINFOHEADER* output, const CodecState& state);
  LRESULT compress(ICCOMPRESS* frame, DWORD size);
  LRESULT end();

 private:
  std::unique_ptr<zmbv::FrameEncoder> encoder_;
  BITMAPINFOHEADER input_{};
};

}  // namespace zmbvcodec
