// A zlib inflate stream, ended on every path. Not movable: zlib's state points back
// at the z_stream it was started with.
#pragma once

#include <zlib.h>

class InflateStream {
 public:
  InflateStream();
  ~InflateStream();
  InflateStream(const InflateStream&) = delete;
  InflateStream& operator=(const InflateStream&) = delete;

  bool started() const { return started_; }
  z_stream& get() { return stream_; }

 private:
  z_stream stream_{};
  bool started_ = false;
};
