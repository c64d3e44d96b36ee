// The editor's side of the importer interface: selector numbers, result
// codes and the records it passes, kept as byte blocks with the byte
// positions of the fields it fills in or reads back. The host's own table,
// written apart from the plug-in's, so that the two are checked against each
// other rather than agreeing by construction.
#pragma once

#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

namespace editor {

namespace selector {
constexpr int32_t kInit = 0, kShutdown = 1, kGetPrefs = 2, kGetInfo = 4, kImportImage = 5, kOpenFile = 7,
                  kQuietFile = 8, kCloseFile = 9, kAnalysis = 12, kGetIndFormat = 14;
}

constexpr int32_t fourCC(char a, char b, char c, char d) {
  return int32_t(uint32_t(uint8_t(a)) << 24 | uint32_t(uint8_t(b)) << 16 | uint32_t(uint8_t(c)) << 8 |
                 uint32_t(uint8_t(d)));
}

// Byte positions, per record.
namespace importInfo {
constexpr size_t kSize = 96;  // room past the sixteen fields the plug-in may set
constexpr size_t field(int index) { return size_t(index) * 4; }
}  // namespace importInfo
namespace indFormat {
constexpr size_t kSize = 600, kFileType = 0, kFlags = 4, kThird = 8, kName = 12, kNameSize = 256, kShortName = 268,
                 kShortNameSize = 32, kExtension = 300, kExtensionSize = 256;
}
namespace fileAccess {
constexpr size_t kSize = 300, kFileType = 4, kFileName = 14, kFileNameSize = 256, kFileRef = 270;
}
namespace fileInfo {
constexpr size_t kSize = 400, kHasVideo = 0, kHasAudio = 1, kWidth = 2, kHeight = 6, kDepth = 12, kSubType = 14,
                 kFieldType = 18, kAlphaType = 22, kMatteRed = 23, kMatteBlue = 24, kMatteGreen = 25, kVidScale = 162,
                 kVidSampleSize = 166, kVidDuration = 170, kPrivateData = 322, kPrefs = 326;
constexpr size_t kZeroBytes[] = {27, 31, 32, 174, 330};
}  // namespace fileInfo
namespace importImage {
constexpr size_t kSize = 128, kWidth = 4, kHeight = 8, kRowBytes = 44, kPixels = 48, kPixelsSize = 52, kTimeScale = 72,
                 kPosition = 84, kPrivateData = 88, kPrefs = 92;
}
namespace getPrefs {
constexpr size_t kSize = 16, kPrefs = 0, kPrefsLength = 4, kFirstTime = 8;
}
namespace analysis {
constexpr size_t kSize = 16, kPrivateData = 0, kPrefs = 4, kBufferSize = 8, kBuffer = 12;
}

// A record as the host hands it over: zero or a fill byte everywhere, so that
// writes to fields the plug-in should leave alone show.
class Record {
 public:
  explicit Record(size_t size, uint8_t fill = 0) : bytes_(size, fill) {}

  uint8_t* data() { return bytes_.data(); }
  size_t size() const { return bytes_.size(); }
  uint8_t byte(size_t at) const { return bytes_.at(at); }
  void setByte(size_t at, uint8_t value) { bytes_.at(at) = value; }
  int16_t int16At(size_t at) const { return int16_t(bytes_.at(at) | bytes_.at(at + 1) << 8); }
  int32_t int32At(size_t at) const {
    return int32_t(uint32_t(bytes_.at(at)) | uint32_t(bytes_.at(at + 1)) << 8 | uint32_t(bytes_.at(at + 2)) << 16 |
                   uint32_t(bytes_.at(at + 3)) << 24);
  }
  void setInt32(size_t at, int32_t value) {
    for (int i = 0; i < 4; ++i) bytes_.at(at + i) = uint8_t(uint32_t(value) >> (8 * i));
  }
  void* pointerAt(size_t at) const { return reinterpret_cast<void*>(intptr_t(int32At(at))); }
  void setPointer(size_t at, const void* p) { setInt32(at, int32_t(reinterpret_cast<intptr_t>(p))); }
  std::string textAt(size_t at, size_t size) const {
    const char* start = reinterpret_cast<const char*>(&bytes_.at(at));
    return std::string(start, strnlen(start, size));
  }
  void setText(size_t at, size_t size, const std::string& text) {
    const size_t n = text.size() < size ? text.size() : size - 1;
    std::memcpy(&bytes_.at(at), text.data(), n);
    bytes_.at(at + n) = 0;
  }

 private:
  std::vector<uint8_t> bytes_;
};

}  // namespace editor
