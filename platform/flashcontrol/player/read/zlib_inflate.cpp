#include "zlib_inflate.h"

#include <zlib.h>

#include <algorithm>
#include <climits>

namespace swf {

bool inflateUpTo(const uint8_t* src, size_t size, size_t expected, std::vector<uint8_t>& out) {
  out.clear();
  if (expected == 0) return true;
  if (size > UINT_MAX) return false;
  z_stream zs{};
  if (inflateInit(&zs) != Z_OK) return false;
  zs.next_in = const_cast<Bytef*>(src);
  zs.avail_in = uInt(size);
  int rc = Z_OK;
  while (rc == Z_OK && out.size() < expected) {
    size_t have = out.size();
    size_t grown = std::min(expected, std::max<size_t>(size_t(1) << 16, have * 2));
    out.resize(grown);
    zs.next_out = out.data() + have;
    zs.avail_out = uInt(grown - have);
    rc = inflate(&zs, Z_NO_FLUSH);
    out.resize(grown - zs.avail_out);
    // No input left and no room made: the stream stops short.
    if (rc == Z_BUF_ERROR) break;
  }
  inflateEnd(&zs);
  return out.size() == expected;
}

}  // namespace swf
