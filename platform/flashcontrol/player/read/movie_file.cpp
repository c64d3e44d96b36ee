#include "movie_file.h"

#include "swf_reader.h"
#include "zlib_inflate.h"

namespace swf {
namespace {

bool readBody(const std::vector<uint8_t>& bytes, MovieFile& out) {
  uint32_t fileLength =
      uint32_t(bytes[4]) | uint32_t(bytes[5]) << 8 | uint32_t(bytes[6]) << 16 | uint32_t(bytes[7]) << 24;
  uint32_t bodyLength = fileLength > 8 ? fileLength - 8 : 0;
  if (bodyLength > kMaxMovieBodyBytes) return false;
  const uint8_t* src = bytes.data() + 8;
  size_t srcLen = bytes.size() - 8;
  if (bytes[0] == 'C') {
    inflateUpTo(src, srcLen, bodyLength, out.body);
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
