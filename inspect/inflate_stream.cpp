#include "inflate_stream.h"

// The movie code asks for the zlib interface it was written against, "1.1.3": zlib only
// compares the major version. The record size must be the platform's own z_stream
// (56 bytes on 32-bit Windows, 112 on 64-bit hosts), or inflateInit_ refuses.
InflateStream::InflateStream()
    : started_(inflateInit_(&stream_, "1.1.3", static_cast<int>(sizeof(z_stream))) == Z_OK) {}

InflateStream::~InflateStream() {
  if (started_) inflateEnd(&stream_);
}
