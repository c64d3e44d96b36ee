// Walks a sequence of tag records (the top level or a sprite's body).
#pragma once

#include <cstddef>
#include <cstdint>

#include "tag_codes.h"

namespace swf {

struct TagRecord {
  TagCode code = TagCode::End;
  const uint8_t* body = nullptr;
  size_t length = 0;
};

class TagReader {
 public:
  TagReader(const uint8_t* data, size_t size) : data_(data), size_(size) {}
  // The next record; false at the end of the data or at a header that does
  // not fit. A body running past the end is cut at the end.
  bool next(TagRecord& out);

 private:
  const uint8_t* data_;
  size_t size_;
  size_t pos_ = 0;
};

}  // namespace swf
