#include "registry_values.h"

#include <cstring>

bool readRegistryValue(HKEY root, const char* subkey, const char* name, void* buffer, DWORD* size) {
  HKEY key;
  if (RegOpenKeyExA(root, subkey, 0, KEY_READ, &key) != ERROR_SUCCESS) return false;
  const LONG result = RegQueryValueExA(key, name, nullptr, nullptr, static_cast<BYTE*>(buffer), size);
  RegCloseKey(key);
  return result == ERROR_SUCCESS;
}

bool readRegistryText(HKEY root, const char* subkey, const char* name, char* buffer, DWORD size) {
  if (size == 0) return false;
  char data[1024];
  DWORD length = size < sizeof data ? size : sizeof data;
  if (!readRegistryValue(root, subkey, name, data, &length)) return false;
  if (length == 0 || data[length - 1] != '\0') {
    if (length >= size) return false;
    data[length++] = '\0';
  }
  std::memcpy(buffer, data, length);
  return true;
}

bool writeRegistryString(HKEY root, const char* subkey, const char* name, const char* text) {
  HKEY key;
  if (RegCreateKeyExA(root, subkey, 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_ALL_ACCESS, nullptr, &key, nullptr) !=
      ERROR_SUCCESS)
    return false;
  const LONG result = RegSetValueExA(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(text),
                                     static_cast<DWORD>(std::strlen(text) + 1));
  RegCloseKey(key);
  return result == ERROR_SUCCESS;
}
