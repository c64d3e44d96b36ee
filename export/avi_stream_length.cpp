#include "avi_stream_length.h"

#include <windows.h>

#include <cstring>

namespace {

// Offsets inside an AVI file: RIFF 'AVI ' > LIST 'hdrl' > LIST 'strl' > 'strh'.
constexpr DWORD kStrhLengthOffset = 32;  // dwLength after fccType ... dwStart
constexpr DWORD kStrhMinSize = 36;
constexpr int kMaxChunks = 64;  // the header list holds a handful; a broken file ends the search

class File {
 public:
  explicit File(const char* path)
      : handle_(CreateFileA(path, GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL,
                            nullptr)) {}
  ~File() {
    if (ok()) CloseHandle(handle_);
  }
  File(const File&) = delete;
  File& operator=(const File&) = delete;
  bool ok() const { return handle_ != INVALID_HANDLE_VALUE; }
  bool read(DWORD at, void* out, DWORD size) {
    DWORD done = 0;
    return seek(at) && ReadFile(handle_, out, size, &done, nullptr) && done == size;
  }
  bool write(DWORD at, const void* data, DWORD size) {
    DWORD done = 0;
    return seek(at) && WriteFile(handle_, data, size, &done, nullptr) && done == size;
  }

 private:
  bool seek(DWORD at) { return SetFilePointer(handle_, static_cast<LONG>(at), nullptr, FILE_BEGIN) == at; }
  HANDLE handle_;
};

struct Chunk {
  char id[4];
  DWORD size;
};

bool is(const char* id, const char* name) { return std::memcmp(id, name, 4) == 0; }

// The offset of the dwLength of the first sound stream header between begin and end.
DWORD findSoundLength(File& file, DWORD begin, DWORD end) {
  DWORD at = begin;
  for (int n = 0; n < kMaxChunks && at + 8 <= end; ++n) {
    Chunk chunk;
    if (!file.read(at, &chunk, sizeof chunk)) return 0;
    const DWORD body = at + 8;
    if (chunk.size > end - body) return 0;
    if (is(chunk.id, "LIST") && chunk.size >= 4) {
      char list[4];
      if (!file.read(body, list, 4)) return 0;
      if (is(list, "hdrl") || is(list, "strl")) {
        const DWORD found = findSoundLength(file, body + 4, body + chunk.size);
        if (found) return found;
      }
    } else if (is(chunk.id, "strh") && chunk.size >= kStrhMinSize) {
      char type[4];
      if (file.read(body, type, 4) && is(type, "auds")) return body + kStrhLengthOffset;
    }
    at = body + chunk.size + (chunk.size & 1);
  }
  return 0;
}

}  // namespace

bool setSoundStreamLength(const char* path, uint32_t length) {
  File file(path);
  char riff[12];
  if (!file.ok() || !file.read(0, riff, sizeof riff) || !is(riff, "RIFF") || !is(riff + 8, "AVI ")) return false;
  DWORD riffSize;
  std::memcpy(&riffSize, riff + 4, 4);
  const DWORD at = findSoundLength(file, 12, 8 + riffSize);
  DWORD current = 0;
  if (!at || !file.read(at, &current, 4)) return false;
  return current == length || file.write(at, &length, 4);
}
