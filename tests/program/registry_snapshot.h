// Keeps a registry key's values as they were and puts them back when the test
// ends, so that a test can empty or change the key freely.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

class RegistrySnapshot {
 public:
  RegistrySnapshot(HKEY root, const std::string& subkey);
  ~RegistrySnapshot();
  RegistrySnapshot(const RegistrySnapshot&) = delete;
  RegistrySnapshot& operator=(const RegistrySnapshot&) = delete;

  // Deletes the key with everything in it.
  void erase() const;

 private:
  struct Value {
    std::string name;
    DWORD type;
    std::vector<BYTE> data;
  };

  HKEY root_;
  std::string subkey_;
  bool existed_ = false;
  std::vector<Value> values_;
};

// The value's text, or "<missing>".
std::string registryText(HKEY root, const std::string& subkey, const char* name);
bool setRegistryText(HKEY root, const std::string& subkey, const char* name, const std::string& text);
