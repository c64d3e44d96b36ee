// A file of the program's own making that is deleted when its owner lets go of it.
#pragma once

#include <windows.h>

class TemporaryFile {
 public:
  TemporaryFile() = default;
  // Takes over the file at path (it need not exist yet).
  explicit TemporaryFile(const char* path);
  ~TemporaryFile() { remove(); }
  // A moved-into owner deletes the file it held first.
  TemporaryFile(TemporaryFile&& other) noexcept;
  TemporaryFile& operator=(TemporaryFile&& other) noexcept;
  TemporaryFile(const TemporaryFile&) = delete;
  TemporaryFile& operator=(const TemporaryFile&) = delete;

  // Empty text when nothing is held.
  const char* path() const { return path_; }
  bool holds() const { return path_[0] != '\0'; }

  // Deletes the held file; afterwards nothing is held.
  void remove();

 private:
  void takeFrom(TemporaryFile& other);

  char path_[MAX_PATH] = "";
};
