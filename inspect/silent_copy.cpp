// The copy walks the tag records (one level into DefineSprite), rewriting the header
// word of sound tags only, and stops after the top-level End tag.
#include "silent_copy.h"

#include <algorithm>
#include <cstdint>
#include <memory>
#include <new>

#include "stdio_file.h"
#include "swf_layout.h"

namespace {

constexpr size_t kPieceSize = 1024;
constexpr size_t kStdioBufferSize = 0x40000;  // fewer system calls for movies of many small tags

bool isSoundTag(uint16_t code) { return (code >= 14 && code <= 19) || code == 45; }

class SilentCopy {
 public:
  SilentCopy(FILE* source, FILE* destination) : in_(source), out_(destination) {}

  void run() {
    uint8_t prefix[swf::kPrefixSize];
    if (std::fread(prefix, 1, sizeof prefix, in_) != sizeof prefix || !swf::isPlainSignature(prefix)) return;
    if (!write(prefix, sizeof prefix) || !copyHeaderRest()) return;
    copyTags(false);
  }

 private:
  FILE* in_;
  FILE* out_;

  bool write(const uint8_t* bytes, size_t size) { return std::fwrite(bytes, 1, size, out_) == size; }

  // Copies up to size bytes; false when fewer could be read or a write failed.
  bool copy(uint32_t size) {
    uint8_t piece[kPieceSize];
    while (size > 0) {
      const size_t got = std::fread(piece, 1, std::min<size_t>(size, sizeof piece), in_);
      if (got == 0 || !write(piece, got)) return false;
      size -= static_cast<uint32_t>(got);
    }
    return true;
  }

  // The RECT after its first byte, then the frame rate and frame count.
  bool copyHeaderRest() {
    uint8_t first;
    if (std::fread(&first, 1, 1, in_) != 1 || !write(&first, 1)) return false;
    return copy(static_cast<uint32_t>(swf::rectSize(first) + 3));
  }

  // Reads up to size bytes and writes what was read; true when all were there.
  bool copyField(uint8_t* bytes, size_t size) {
    const size_t got = std::fread(bytes, 1, size, in_);
    return write(bytes, got) && got == size;
  }

  // True after an End tag, false at the end of the file or on a failed write.
  bool copyTags(bool nested) {
    uint8_t header[2];
    while (copyTagHeader(header)) {
      const uint32_t word = swf::le16(header);
      const uint16_t code = swf::tagCode(word);
      if (code == swf::kTagEnd) return true;
      uint32_t length = swf::shortLength(word);
      if (length == swf::kLongLength) {
        uint8_t longLength[4];
        if (!copyField(longLength, sizeof longLength)) return false;
        length = swf::le32(longLength);
      }
      const bool more = (code == swf::kTagDefineSprite && !nested) ? copy(4) && copyTags(true) : copy(length);
      if (!more) return false;
    }
    return false;
  }

  // Copies one header word, rewritten for a sound tag; a lone last byte is dropped.
  bool copyTagHeader(uint8_t* header) {
    if (std::fread(header, 1, 2, in_) != 2) return false;
    const uint32_t word = swf::le16(header);
    uint8_t written[2] = {header[0], header[1]};
    if (isSoundTag(swf::tagCode(word))) {
      const uint32_t silent = 0x8000 | swf::shortLength(word);
      written[0] = static_cast<uint8_t>(silent);
      written[1] = static_cast<uint8_t>(silent >> 8);
    }
    return write(written, 2);
  }
};

}  // namespace

int silenceMovieCopy(const char* sourcePath, const char* destinationPath) {
  // Declared before the files: the buffers must outlive their fclose.
  std::unique_ptr<char[]> sourceBuffer(new (std::nothrow) char[kStdioBufferSize]);
  std::unique_ptr<char[]> destinationBuffer(new (std::nothrow) char[kStdioBufferSize]);
  StdioFile source(sourcePath, "rb");
  StdioFile destination(destinationPath, "wb");
  if (!source || !destination) return 0;
  // Without buffers of their own some C libraries keep their small default size.
  if (sourceBuffer) std::setvbuf(source.get(), sourceBuffer.get(), _IOFBF, kStdioBufferSize);
  if (destinationBuffer) std::setvbuf(destination.get(), destinationBuffer.get(), _IOFBF, kStdioBufferSize);
  SilentCopy(source.get(), destination.get()).run();
  return 0;
}
