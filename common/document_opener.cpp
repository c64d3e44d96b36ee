#include "document_opener.h"

#include <shellapi.h>

#include <cstring>

#include "registry_values.h"

namespace {

constexpr DWORD kRegistryTextSize = 260;
constexpr char kCommandSuffix[] = "\\shell\\open\\command";

UINT_PTR shellOpen(const char* target, int show) {
  return reinterpret_cast<UINT_PTR>(ShellExecuteA(nullptr, "open", target, nullptr, nullptr, show));
}

bool readHtmCommand(char* command) {
  char type[kRegistryTextSize + sizeof kCommandSuffix];
  if (!readRegistryText(HKEY_CLASSES_ROOT, ".htm", nullptr, type, kRegistryTextSize)) return false;
  std::strcat(type, kCommandSuffix);
  return readRegistryText(HKEY_CLASSES_ROOT, type, nullptr, command, kRegistryTextSize);
}

// The default value through the older query, with query access only.
bool readDefaultValueOld(const char* subkey, char* text) {
  HKEY key;
  if (RegOpenKeyExA(HKEY_CLASSES_ROOT, subkey, 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS) return false;
  LONG size = kRegistryTextSize;
  const LONG result = RegQueryValueA(key, nullptr, text, &size);
  RegCloseKey(key);
  if (result != ERROR_SUCCESS) return false;
  text[kRegistryTextSize - 1] = '\0';
  return true;
}

bool readHtmCommandOld(char* command) {
  char type[kRegistryTextSize + sizeof kCommandSuffix];
  if (!readDefaultValueOld(".htm", type)) return false;
  std::strcat(type, kCommandSuffix);
  return readDefaultValueOld(type, command);
}

UINT startCommand(const char* command, const char* target, int show) {
  return WinExec(browserCommandFor(command, target).c_str(), show);
}

}  // namespace

std::string browserCommandFor(const char* registeredCommand, const char* target) {
  std::string command(registeredCommand);
  size_t cut = command.find("\"%1\"");
  if (cut == std::string::npos) cut = command.find("%1");
  if (cut != std::string::npos) command.resize(cut);
  return command + " " + target;
}

bool openDocument(const char* target, int show) {
  if (shellOpen(target, show) > 32) return true;
  char command[kRegistryTextSize];
  if (!readHtmCommand(command)) return false;
  return startCommand(command, target, show) > 31;
}

UINT_PTR openLinkTarget(const char* target, int show) {
  const UINT_PTR shellResult = shellOpen(target, show);
  if (shellResult > 32) return shellResult;
  char command[kRegistryTextSize];
  if (!readHtmCommandOld(command)) return shellResult;
  return startCommand(command, target, show);
}
