#include "registry_snapshot.h"

#include <shlwapi.h>

RegistrySnapshot::RegistrySnapshot(HKEY root, const std::string& subkey) : root_(root), subkey_(subkey) {
  HKEY key;
  if (RegOpenKeyExA(root_, subkey_.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) return;
  existed_ = true;
  for (DWORD index = 0;; ++index) {
    char name[256];
    DWORD nameLength = sizeof name;
    DWORD type = 0, size = 0;
    if (RegEnumValueA(key, index, name, &nameLength, nullptr, &type, nullptr, &size) != ERROR_SUCCESS) break;
    Value value{std::string(name, nameLength), type, std::vector<BYTE>(size)};
    DWORD read = size;
    RegQueryValueExA(key, value.name.empty() ? nullptr : value.name.c_str(), nullptr, nullptr, value.data.data(),
                     &read);
    value.data.resize(read);
    values_.push_back(value);
  }
  RegCloseKey(key);
}

RegistrySnapshot::~RegistrySnapshot() {
  erase();
  if (!existed_) return;
  HKEY key;
  if (RegCreateKeyExA(root_, subkey_.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr) != ERROR_SUCCESS)
    return;
  for (const Value& value : values_)
    RegSetValueExA(key, value.name.empty() ? nullptr : value.name.c_str(), 0, value.type, value.data.data(),
                   static_cast<DWORD>(value.data.size()));
  RegCloseKey(key);
}

void RegistrySnapshot::erase() const { SHDeleteKeyA(root_, subkey_.c_str()); }

std::string registryText(HKEY root, const std::string& subkey, const char* name) {
  HKEY key;
  if (RegOpenKeyExA(root, subkey.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) return "<missing>";
  char text[1024];
  DWORD size = sizeof text - 1;
  const LONG result = RegQueryValueExA(key, name, nullptr, nullptr, reinterpret_cast<BYTE*>(text), &size);
  RegCloseKey(key);
  if (result != ERROR_SUCCESS) return "<missing>";
  text[size] = '\0';
  return text;
}

bool setRegistryText(HKEY root, const std::string& subkey, const char* name, const std::string& text) {
  HKEY key;
  if (RegCreateKeyExA(root, subkey.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr) != ERROR_SUCCESS)
    return false;
  const LONG result = RegSetValueExA(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()),
                                     static_cast<DWORD>(text.size() + 1));
  RegCloseKey(key);
  return result == ERROR_SUCCESS;
}
