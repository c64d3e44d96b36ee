// File helpers for tests: whole-file read and write, and a temporary folder that is
// removed with everything in it.
#pragma once

#include <string>

#include "byte_writer.h"

namespace mvqtest {

bool writeFile(const std::string& path, const Bytes& bytes);
Bytes readFile(const std::string& path);  // empty when missing
bool fileExists(const std::string& path);

class TempDir {
 public:
  TempDir();  // a new folder in the system's temporary folder
  ~TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;

  const std::string& path() const { return path_; }
  std::string file(const std::string& name) const;  // path of a file inside
  // Writes bytes into a file inside and returns its path.
  std::string write(const std::string& name, const Bytes& bytes) const;
  size_t entryCount() const;

 private:
  std::string path_;
};

}  // namespace mvqtest
