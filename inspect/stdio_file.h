// Owns a FILE*: closed on every path out of a function.
#pragma once

#include <cstdio>

class StdioFile {
 public:
  StdioFile(const char* path, const char* mode) : file_(path ? std::fopen(path, mode) : nullptr) {}
  ~StdioFile() {
    if (file_) std::fclose(file_);
  }
  StdioFile(const StdioFile&) = delete;
  StdioFile& operator=(const StdioFile&) = delete;

  explicit operator bool() const { return file_ != nullptr; }
  FILE* get() const { return file_; }

  // Closes now; false when buffered data could not be written.
  bool close() {
    FILE* f = file_;
    file_ = nullptr;
    return f && std::fclose(f) == 0;
  }

 private:
  FILE* file_;
};
