#include "codec_instance.h"

#include <vfw.h>

#include <cstring>

#include "dib_formats.h"

namespace zmbvcodec {
namespace {

const wchar_t kName[] = L"ZMBV";
const wchar_t kDescription[] = L"Zip Motion Block Video (ZMBV)";

const BITMAPINFOHEADER* header(LPARAM param) { return reinterpret_cast<const BITMAPINFOHEADER*>(param); }
BITMAPINFOHEADER* writableHeader(LPARAM param) { return reinterpret_cast<BITMAPINFOHEADER*>(param); }

LRESULT storeDword(LPARAM param, DWORD value) {
  if (param == 0) return ICERR_BADPARAM;
  *reinterpret_cast<DWORD*>(param) = value;
  return ICERR_OK;
}

}  // namespace

LRESULT CodecInstance::handle(UINT message, LPARAM param1, LPARAM param2) {
  switch (message) {
    case ICM_GETINFO: return getInfo(reinterpret_cast<ICINFO*>(param1), static_cast<DWORD>(param2));
    case ICM_GETDEFAULTQUALITY: return storeDword(param1, kDefaultQuality);
    case ICM_GETDEFAULTKEYFRAMERATE: return storeDword(param1, kDefaultKeyFrameRate);
    case ICM_GETSTATE: return getState(reinterpret_cast<void*>(param1), static_cast<DWORD>(param2));
    case ICM_SETSTATE: return setState(reinterpret_cast<const void*>(param1), static_cast<DWORD>(param2));
    // No settings dialog: the chooser greys its Configure button.
    case ICM_CONFIGURE: return ICERR_UNSUPPORTED;
    case ICM_ABOUT: return param1 == -1 ? ICERR_OK : about(reinterpret_cast<HWND>(param1));

    case ICM_COMPRESS_QUERY: return compressor_.query(header(param1), header(param2));
    case ICM_COMPRESS_GET_FORMAT: return compressor_.getFormat(header(param1), writableHeader(param2));
    case ICM_COMPRESS_GET_SIZE: return compressor_.getSize(header(param1), header(param2));
    case ICM_COMPRESS_BEGIN: return compressor_.begin(header(param1), header(param2), state_);
    case ICM_COMPRESS: return compressor_.compress(reinterpret_cast<ICCOMPRESS*>(param1), static_cast<DWORD>(param2));
    case ICM_COMPRESS_END: return compressor_.end();

    case ICM_DECOMPRESS_QUERY: return decompressor_.query(header(param1), header(param2));
    case ICM_DECOMPRESS_GET_FORMAT: return decompressor_.getFormat(header(param1), writableHeader(param2));
    case ICM_DECOMPRESS_BEGIN: return decompressor_.begin(header(param1), header(param2));
    case ICM_DECOMPRESS:
      return decompressor_.decompress(reinterpret_cast<const ICDECOMPRESS*>(param1), static_cast<DWORD>(param2));
    case ICM_DECOMPRESS_END: return decompressor_.end();
    default: return ICERR_UNSUPPORTED;
  }
}

LRESULT CodecInstance::getInfo(ICINFO* info, DWORD size) const {
  if (info == nullptr || size < sizeof(ICINFO)) return 0;
  std::memset(info, 0, sizeof(ICINFO));
  info->dwSize = sizeof(ICINFO);
  info->fccType = ICTYPE_VIDEO;
  info->fccHandler = kZmbvFourcc;
  // Quality sets the zlib level; the codec keeps its previous frame itself.
  info->dwFlags = VIDCF_QUALITY | VIDCF_TEMPORAL | VIDCF_FASTTEMPORALC | VIDCF_FASTTEMPORALD;
  info->dwVersion = 1;
  info->dwVersionICM = ICVERSION;
  std::memcpy(info->szName, kName, sizeof kName);
  std::memcpy(info->szDescription, kDescription, sizeof kDescription);
  return sizeof(ICINFO);
}

// Without a buffer the answer is the state's size.
LRESULT CodecInstance::getState(void* data, DWORD size) const {
  if (data == nullptr) return sizeof(CodecState);
  if (size < sizeof(CodecState)) return ICERR_BADSIZE;
  std::memcpy(data, &state_, sizeof state_);
  return ICERR_OK;
}

// No data means the default state; foreign or damaged state is refused (0 bytes used).
LRESULT CodecInstance::setState(const void* data, DWORD size) {
  if (data == nullptr) {
    state_ = defaultState();
    return 0;
  }
  return readState(data, size, state_) ? sizeof(CodecState) : 0;
}

LRESULT CodecInstance::about(HWND owner) const {
  MessageBoxW(owner,
              L"Zip Motion Block Video (ZMBV)\n\nLossless: key frames and motion-compensated XOR blocks, "
              L"compressed with zlib. Quality sets the zlib level.",
              L"About ZMBV", MB_OK | MB_ICONINFORMATION);
  return ICERR_OK;
}

}  // namespace zmbvcodec
