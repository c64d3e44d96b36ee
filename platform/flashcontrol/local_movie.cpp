#include "local_movie.h"

namespace {

// Larger files are refused rather than read: no SWF movie comes near it.
constexpr LONGLONG kMaxMovieBytes = 256LL << 20;

class FileHandle {
 public:
  explicit FileHandle(HANDLE h) : handle_(h) {}
  ~FileHandle() {
    if (valid()) CloseHandle(handle_);
  }
  FileHandle(const FileHandle&) = delete;
  FileHandle& operator=(const FileHandle&) = delete;
  bool valid() const { return handle_ != INVALID_HANDLE_VALUE; }
  HANDLE get() const { return handle_; }

 private:
  HANDLE handle_;
};

HRESULT lastError() {
  DWORD error = GetLastError();
  return error ? HRESULT_FROM_WIN32(error) : E_FAIL;
}

}  // namespace

HRESULT readLocalMovie(const wchar_t* path, std::vector<uint8_t>* bytes) {
  FileHandle file(CreateFileW(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                              OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file.valid()) return lastError();
  LARGE_INTEGER size;
  if (!GetFileSizeEx(file.get(), &size)) return lastError();
  if (size.QuadPart > kMaxMovieBytes) return E_OUTOFMEMORY;
  bytes->resize(size_t(size.QuadPart));
  DWORD read = 0;
  if (!bytes->empty() &&
      (!ReadFile(file.get(), bytes->data(), DWORD(bytes->size()), &read, nullptr) ||
       read != bytes->size()))
    return E_FAIL;
  return S_OK;
}
