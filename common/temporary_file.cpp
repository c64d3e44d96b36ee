#include "temporary_file.h"

#include <cstring>

TemporaryFile::TemporaryFile(const char* path) {
  // A path too long to hold is not taken: deleting a cut one could hit another file.
  if (std::strlen(path) < sizeof path_) std::strcpy(path_, path);
}

TemporaryFile::TemporaryFile(TemporaryFile&& other) noexcept { takeFrom(other); }

TemporaryFile& TemporaryFile::operator=(TemporaryFile&& other) noexcept {
  if (this != &other) {
    remove();
    takeFrom(other);
  }
  return *this;
}

void TemporaryFile::remove() {
  if (!holds()) return;
  DeleteFileA(path_);
  path_[0] = '\0';
}

void TemporaryFile::takeFrom(TemporaryFile& other) {
  std::strcpy(path_, other.path_);
  other.path_[0] = '\0';
}
