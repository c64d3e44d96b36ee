// The decompressing half of an open codec: format negotiation and one decoder
// from ICM_DECOMPRESS_BEGIN to ICM_DECOMPRESS_END.
#pragma once

#include <windows.h>
#include <vfw.h>

#include <memory>

#include "core/frame_decoder.h"

namespace zmbvcodec {

class Decompressor {
 public:
  LRESULT query(const BITMAPINFOHEADER* input, const BITMAPINFOHEADER* output) const;
  LRESULT getFormat(const BITMAPINFOHEADER* input, BITMAPINFOHEADER* output) const;
  LRESULT begin(const BITMAPINFOHEADER* input, const BITMAPINFOHEADER* output);
  LRESULT decompress(const ICDECOMPRESS* frame, DWORD size);
  LRESULT end();

 private:
  std::unique_ptr<zmbv::FrameDecoder> decoder_;
  BITMAPINFOHEADER input_{};
};

}  // namespace zmbvcodec
