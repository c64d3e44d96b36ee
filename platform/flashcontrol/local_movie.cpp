#include "local_movie.h"

#include <zlib.h>

#include <algorithm>
#include <cwchar>
#include <string>

namespace {

// Larger files are refused rather than read: no SWF movie comes near it.
constexpr LONGLONG kMaxMovieBytes = 256LL << 20;
constexpr size_t kFileHeaderBytes = 8;
// The stage rectangle takes at most 17 bytes, rate and frame count 4 more.
constexpr size_t kMovieHeaderBytes = 21;
// Compressed input read to find those bytes; a deflate stream needs at most a
// few hundred bytes of block header before its first output.
constexpr DWORD kCompressedProbeBytes = 4096;

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

HANDLE openForReading(const wchar_t* path) {
  return CreateFileW(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                     FILE_ATTRIBUTE_NORMAL, nullptr);
}

HRESULT movieSize(HANDLE file, size_t* size) {
  LARGE_INTEGER length;
  if (!GetFileSizeEx(file, &length)) return lastError();
  if (length.QuadPart > kMaxMovieBytes) return E_OUTOFMEMORY;
  *size = size_t(length.QuadPart);
  return S_OK;
}

HRESULT readBytes(HANDLE file, size_t count, std::vector<uint8_t>* bytes) {
  bytes->resize(count);
  DWORD read = 0;
  if (count && (!ReadFile(file, bytes->data(), DWORD(count), &read, nullptr) || read != count)) return E_FAIL;
  return S_OK;
}

uint32_t storedLength(const std::vector<uint8_t>& bytes) {
  return uint32_t(bytes[4]) | uint32_t(bytes[5]) << 8 | uint32_t(bytes[6]) << 16 | uint32_t(bytes[7]) << 24;
}

// A plain movie of a compressed one's file header and the first bytes of its
// body, no more than the stored length allows; what the stream holds when it
// ends early.
void inflateHeaderBytes(const std::vector<uint8_t>& probe, std::vector<uint8_t>* out) {
  const uint32_t length = storedLength(probe);
  const size_t body = std::min<size_t>(kMovieHeaderBytes, length > 8 ? length - 8 : 0);
  out->assign(probe.begin(), probe.begin() + kFileHeaderBytes);
  (*out)[0] = 'F';
  out->resize(kFileHeaderBytes + body);
  z_stream zs{};
  if (inflateInit(&zs) != Z_OK) {
    out->resize(kFileHeaderBytes);
    return;
  }
  zs.next_in = const_cast<Bytef*>(probe.data() + kFileHeaderBytes);
  zs.avail_in = uInt(probe.size() - kFileHeaderBytes);
  zs.next_out = out->data() + kFileHeaderBytes;
  zs.avail_out = uInt(body);
  int rc = Z_OK;
  while (rc == Z_OK && zs.avail_out > 0) rc = inflate(&zs, Z_NO_FLUSH);
  out->resize(out->size() - zs.avail_out);
  inflateEnd(&zs);
}

}  // namespace

HRESULT readLocalMovieHeader(const wchar_t* path, swf::MovieFile* header) {
  FileHandle file(openForReading(path));
  if (!file.valid()) return lastError();
  size_t size = 0;
  HRESULT hr = movieSize(file.get(), &size);
  if (FAILED(hr)) return hr;
  std::vector<uint8_t> probe;
  hr = readBytes(file.get(), std::min<size_t>(size, kCompressedProbeBytes), &probe);
  if (FAILED(hr)) return hr;
  // The player's own reader decides, over the header alone.
  if (probe.size() > kFileHeaderBytes && probe[0] == 'C') {
    std::vector<uint8_t> plain;
    inflateHeaderBytes(probe, &plain);
    probe.swap(plain);
  }
  probe.resize(std::min(probe.size(), kFileHeaderBytes + kMovieHeaderBytes));
  return swf::readMovieFile(probe, *header) ? S_OK : E_FAIL;
}

HRESULT readLocalMovie(const wchar_t* path, std::vector<uint8_t>* bytes) {
  FileHandle file(openForReading(path));
  if (!file.valid()) return lastError();
  size_t size = 0;
  HRESULT hr = movieSize(file.get(), &size);
  if (FAILED(hr)) return hr;
  return readBytes(file.get(), size, bytes);
}

namespace {

std::wstring folderOf(const wchar_t* path) {
  std::wstring folder(path ? path : L"");
  size_t cut = folder.find_last_of(L"\\/");
  folder.resize(cut == std::wstring::npos ? 0 : cut + 1);
  return folder;
}

// The local folder a base names, ending in a separator; false for a url of
// another scheme.
bool baseFolder(std::wstring base, std::wstring* folder) {
  static const wchar_t kFileScheme[] = L"file:///";
  if (_wcsnicmp(base.c_str(), kFileScheme, wcslen(kFileScheme)) == 0) {
    base.erase(0, wcslen(kFileScheme));
  } else if (base.find(L"://") != std::wstring::npos) {
    return false;
  }
  std::replace(base.begin(), base.end(), L'/', L'\\');
  if (base.back() != L'\\') base.push_back(L'\\');
  *folder = base;
  return true;
}

}  // namespace

swf::MovieFileSource localMovieFiles(const wchar_t* base, const wchar_t* moviePath) {
  std::wstring folder;
  if (!base || !*base || std::wcscmp(base, L".") == 0) {
    folder = folderOf(moviePath);
  } else if (!baseFolder(base, &folder)) {
    return nullptr;
  }
  return [folder](const std::string& name, std::vector<uint8_t>& bytes) {
    int length = MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, name.data(), int(name.size()), nullptr, 0);
    if (length <= 0) return false;
    std::wstring full = folder + std::wstring(size_t(length), L'\0');
    MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, name.data(), int(name.size()), &full[folder.size()], length);
    std::replace(full.begin() + ptrdiff_t(folder.size()), full.end(), L'/', L'\\');
    return SUCCEEDED(readLocalMovie(full.c_str(), &bytes));
  };
}
