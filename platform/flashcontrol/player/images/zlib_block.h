// Inflating the zlib-compressed parts of bitmap tags.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace swf {

// The first `expected` bytes of a zlib stream; false when the stream is
// damaged or ends before giving that many. Memory grows with what the stream
// really holds, not with what it claims.
bool inflateExactly(const uint8_t* src, size_t size, size_t expected, std::vector<uint8_t>& out);

}  // namespace swf
