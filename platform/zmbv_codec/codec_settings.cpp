#include "codec_settings.h"

#include <vfw.h>

#include <cstring>

#include "core/zmbv_format.h"

namespace zmbvcodec {
namespace {

constexpr uint32_t kSignature = mmioFOURCC('Z', 'M', 'B', 'V');

}  // namespace

CodecState defaultState() { return CodecState{kSignature, sizeof(CodecState), zmbv::kMaxMotion}; }

bool readState(const void* data, size_t size, CodecState& state) {
  if (data == nullptr || size < sizeof(CodecState)) return false;
  CodecState candidate;
  std::memcpy(&candidate, data, sizeof candidate);
  if (candidate.signature != kSignature || candidate.size != sizeof(CodecState) ||
      candidate.searchRange > static_cast<uint32_t>(zmbv::kMaxMotion))
    return false;
  state = candidate;
  return true;
}

int zlibLevelForQuality(DWORD quality) {
  if (quality > ICQUALITY_HIGH) quality = kDefaultQuality;
  return 1 + static_cast<int>(quality * 8 / ICQUALITY_HIGH);
}

}  // namespace zmbvcodec
