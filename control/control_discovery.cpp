#include "control_discovery.h"

#include <cstdio>
#include <cstring>
#include <memory>
#include <new>

namespace {

constexpr size_t kKeyTextSize = 256;

class RegistryKey {
 public:
  RegistryKey() = default;
  ~RegistryKey() {
    if (key_) RegCloseKey(key_);
  }
  RegistryKey(const RegistryKey&) = delete;
  RegistryKey& operator=(const RegistryKey&) = delete;

  bool openClassesSubkey(const char* classIdText, const char* serverKind) {
    char keyText[kKeyTextSize];
    int n = std::snprintf(keyText, sizeof keyText, "CLSID\\%s\\%s", classIdText, serverKind);
    if (n < 0 || static_cast<size_t>(n) >= sizeof keyText) return false;
    return RegOpenKeyExA(HKEY_CLASSES_ROOT, keyText, 0, KEY_READ, &key_) == ERROR_SUCCESS;
  }

  // The default value as a NUL-terminated string; *length is the byte count read.
  bool readDefaultValue(char* buffer, DWORD* length) const {
    DWORD size = *length;
    if (size == 0) return false;
    if (RegQueryValueExA(key_, nullptr, nullptr, nullptr, reinterpret_cast<BYTE*>(buffer), length) != ERROR_SUCCESS)
      return false;
    DWORD n = *length;
    if (n > 0 && buffer[n - 1] == '\0') return true;
    // Values stored without their terminator: end them here when there is room.
    if (n >= size) return false;
    buffer[n] = '\0';
    return true;
  }

 private:
  HKEY key_ = nullptr;
};

}  // namespace

bool findControlServer(const char* classIdText, char* path, DWORD* length) {
  RegistryKey key;
  if (!key.openClassesSubkey(classIdText, "LocalServer32") && !key.openClassesSubkey(classIdText, "InprocServer32"))
    return false;
  if (!key.readDefaultValue(path, length)) return false;
  stripQuotes(path, length);
  return true;
}

void stripQuotes(char* text, DWORD* length) {
  size_t n = strnlen(text, *length);
  if (n < 2 || text[0] != '"' || text[n - 1] != '"') return;
  std::memmove(text, text + 1, n - 2);
  text[n - 2] = '\0';
  *length -= 2;
}

bool readFileVersion(const char* path, DWORD* versionMS, DWORD* versionLS) {
  DWORD handle = 0;
  DWORD size = GetFileVersionInfoSizeA(path, &handle);
  if (size == 0) return false;
  std::unique_ptr<BYTE[]> block(new (std::nothrow) BYTE[size]);
  if (!block) return false;
  if (!GetFileVersionInfoA(path, 0, size, block.get())) return false;
  VS_FIXEDFILEINFO* fixed = nullptr;
  UINT fixedSize = 0;
  if (!VerQueryValueA(block.get(), "\\", reinterpret_cast<void**>(&fixed), &fixedSize) || !fixed ||
      fixedSize < sizeof(VS_FIXEDFILEINFO))
    return false;
  *versionMS = fixed->dwFileVersionMS;
  *versionLS = fixed->dwFileVersionLS;
  return true;
}

bool findControlVersion(DWORD* versionMS, DWORD* versionLS) {
  char path[kControlPathSize];
  DWORD length = sizeof path;
  return findControlServer(kControlClassIdText, path, &length) && readFileVersion(path, versionMS, versionLS);
}
