// Streams the source through inflate in 64 KiB chunks; only one output area is held,
// and it grows only when a single chunk inflates past it.
#include "movie_expansion.h"

#include <cstdint>
#include <memory>
#include <new>

#include "inflate_stream.h"
#include "stdio_file.h"
#include "swf_layout.h"

namespace {

constexpr size_t kInputSize = 0x10000;
constexpr size_t kFirstOutputSize = 0x80000;
constexpr size_t kOutputGrowth = 0x20000;

struct Buffer {
  std::unique_ptr<uint8_t[]> data;
  size_t size = 0;

  bool allocate(size_t bytes) {
    data.reset();  // the old area goes first: never two at once
    data.reset(new (std::nothrow) uint8_t[bytes]);
    size = data ? bytes : 0;
    return data != nullptr;
  }
};

bool writeAll(FILE* file, const uint8_t* bytes, size_t size) { return std::fwrite(bytes, 1, size, file) == size; }

// Inflates one input chunk completely. Z_BUF_ERROR only means "no progress" and is
// no failure; other errors and a stream that wants a dictionary are.
bool inflateChunk(z_stream& z, Buffer& output, FILE* destination, bool& streamEnded) {
  for (;;) {
    z.next_out = output.data.get();
    z.avail_out = static_cast<uInt>(output.size);
    const int result = inflate(&z, Z_SYNC_FLUSH);
    if (result == Z_NEED_DICT || (result < 0 && result != Z_BUF_ERROR)) return false;
    if (z.avail_out != 0 || result == Z_STREAM_END) {
      streamEnded = result == Z_STREAM_END;
      return writeAll(destination, output.data.get(), output.size - z.avail_out);
    }
    if (!writeAll(destination, output.data.get(), output.size)) return false;
    if (!output.allocate(output.size + kOutputGrowth)) return false;
  }
}

bool inflateBody(FILE* source, FILE* destination, z_stream& z, Buffer& input, Buffer& output) {
  for (;;) {
    const size_t got = std::fread(input.data.get(), 1, input.size, source);
    bool streamEnded = false;
    if (got > 0) {
      z.next_in = input.data.get();
      z.avail_in = static_cast<uInt>(got);
      if (!inflateChunk(z, output, destination, streamEnded)) return false;
    }
    if (got < input.size || streamEnded) return true;
  }
}

}  // namespace

int expandCompressedMovie(const char* sourcePath, const char* destinationPath) {
  StdioFile source(sourcePath, "rb");
  if (!source) return -1;
  uint8_t prefix[swf::kPrefixSize];
  if (std::fread(prefix, 1, 4, source.get()) < 4) return -1;
  if (swf::isPlainSignature(prefix)) return 0;
  if (!swf::isZlibSignature(prefix) || std::fread(prefix + 4, 1, 4, source.get()) < 4) return -1;

  Buffer output, input;
  if (!output.allocate(kFirstOutputSize) || !input.allocate(kInputSize)) return -1;
  InflateStream stream;
  if (!stream.started()) return -1;

  StdioFile destination(destinationPath, "wb");
  if (!destination) return -1;
  prefix[0] = 'F';
  if (!writeAll(destination.get(), prefix, sizeof prefix)) return -1;
  if (!inflateBody(source.get(), destination.get(), stream.get(), input, output)) return -1;
  return destination.close() ? 1 : -1;
}
