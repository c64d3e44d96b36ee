// One open instance of the codec (one ICOpen): answers the ICM_ messages.
#pragma once

#include <windows.h>

#include "codec_settings.h"
#include "compressor.h"
#include "decompressor.h"

namespace zmbvcodec {

class CodecInstance {
 public:
  LRESULT handle(UINT message, LPARAM param1, LPARAM param2);

 private:
  LRESULT getInfo(ICINFO* info, DWORD size) const;
  LRESULT getState(void* data, DWORD size) const;
  LRESULT setState(const void* data, DWORD size);
  LRESULT about(HWND owner) const;

  CodecState state_ = defaultState();
  Compressor compressor_;
  Decompressor decompressor_;
};

}  // namespace zmbvcodec
