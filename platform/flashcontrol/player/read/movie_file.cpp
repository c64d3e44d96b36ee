#include "movie_file.h"

#include <zlib.h>

#include <algorithm>

#include "swf_reader.h"

namespace swf {
namespace {

// Inflates up to `expected` bytes, growing the output as data arrives so a
// movie that lies about its length costs no more than what it holds.
void inflateBody(const uint8_t* src, size_t srcLen, uint32_t expected, std::vector<uint8_t>& out) {
  z_stream zs{};
  out.clear();
  if (inflateInit(&zs) != Z_OK) return;
  zs.next_in = const_cast<Bytef*>(src);
  zs.avail_in = uInt(srcLen);
  size_t capacity = 1 << 16;
  int rc = Z_OK;
  while (rc == Z_OK && out.size() < expected) {
    size_t grown = std::min<size_t>(expected, std::max(capacity, out.size() * 2));
    size_t have = out.size();
    out.resize(grown);
    zs.next_out = out.data() + have;
    zs.avail_out = uInt(grown - have);
    rc = inflate(&zs, Z_NO_FLUSH);
    out.resize(grown - zs.avail_out);
  }
  inflateEnd(&zs);
}

bool readBody(const std::vector<uint8_t>& bytes, MovieFile& out) {
  uint32_t fileLength = uint32_t(bytes[4]) | uint32_t(bytes[5]) << 8 | uint32_t(bytes[6]) << 16 |
                        uint32_t(bytes[7]) << 24;
  uint32_t bodyLength = fileLength > 8 ? fileLength - 8 : 0;
  if (bodyLength > kMaxMovieBodyBytes) return false;
  const uint8_t* src = bytes.data() + 8;
  size_t srcLen = bytes.size() - 8;
  if (bytes[0] == 'C') {
    inflateBody(src, srcLen, bodyLength, out.body);
    return true;
  }
  // Plain movies: trust the bytes present over the stored length.
  out.body.assign(src, src + srcLen);
  return true;
}

}  // namespace

bool readMovieFile(const std::vector<uint8_t>& bytes, MovieFile& out) {
  if (bytes.size() < 8) return false;
  if ((bytes[0] != 'F' && bytes[0] != 'C') || bytes[1] != 'W' || bytes[2] != 'S') return false;
  MovieFile m;
  m.version = bytes[3];
  if (!readBody(bytes, m)) return false;
  SwfReader r(m.body.data(), m.body.size());
  m.frameSize = r.rect();
  m.frameRate = r.u16() / 256.0;
  m.frameCount = r.u16();
  if (r.overrun()) return false;
  m.tagsOffset = r.position();
  out = std::move(m);
  return true;
}

}  // namespace swf
