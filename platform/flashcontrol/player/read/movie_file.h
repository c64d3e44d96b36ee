// The SWF file container: signature, version, (compressed) body, header
// fields and the byte range of the top-level tags.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "../format/rect.h"

namespace swf {

struct MovieFile {
  int version = 0;
  Rect frameSize;
  double frameRate = 0;  // frames per second as stored (8.8)
  uint16_t frameCount = 0;
  std::vector<uint8_t> body;  // the uncompressed bytes after the 8-byte file header
  size_t tagsOffset = 0;      // where the first tag starts in body
};

// Largest body the player expands; movies claiming more are refused.
constexpr uint32_t kMaxMovieBodyBytes = 256u << 20;

// False for anything that is not an FWS or CWS movie with a complete header.
// A compressed body that ends early keeps what was inflated.
bool readMovieFile(const std::vector<uint8_t>& bytes, MovieFile& out);

}  // namespace swf
