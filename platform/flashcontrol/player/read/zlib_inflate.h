// The player's one zlib inflater: compressed movie bodies, lossless bitmap
// rows, JPEG alpha planes.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace swf {

// Inflates the first `expected` bytes of a zlib stream into out; true when
// it gave exactly that many. A damaged or short stream leaves in out what
// came before the damage. Memory grows with what the stream really holds,
// not with what it claims.
bool inflateUpTo(const uint8_t* src, size_t size, size_t expected, std::vector<uint8_t>& out);

}  // namespace swf
