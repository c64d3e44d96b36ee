// DllRegisterServer and DllUnregisterServer: the control's class key under
// HKEY_CLASSES_ROOT, pointing at this DLL as an apartment-threaded server.
#include <windows.h>
#include <olectl.h>

#include <cstdio>

#include "control_discovery.h"
#include "server_module.h"

namespace {

struct KeyText {
  char text[96];
};

// "CLSID\{class id}" followed by suffix.
KeyText classKey(const char* suffix) {
  KeyText key;
  std::snprintf(key.text, sizeof key.text, "CLSID\\%s%s", kControlClassIdText, suffix);
  return key;
}

bool setString(HKEY key, const wchar_t* name, const wchar_t* value) {
  DWORD bytes = DWORD((lstrlenW(value) + 1) * sizeof(wchar_t));
  return RegSetValueExW(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value), bytes) == ERROR_SUCCESS;
}

bool writeKey(const KeyText& path, const wchar_t* name, const wchar_t* value) {
  HKEY key;
  if (RegCreateKeyExA(HKEY_CLASSES_ROOT, path.text, 0, nullptr, 0, KEY_WRITE, nullptr, &key, nullptr) != ERROR_SUCCESS)
    return false;
  bool ok = setString(key, name, value);
  RegCloseKey(key);
  return ok;
}

}  // namespace

extern "C" HRESULT WINAPI DllRegisterServer(void) {
  wchar_t path[MAX_PATH];
  DWORD n = GetModuleFileNameW(serverInstance(), path, MAX_PATH);
  if (n == 0 || n >= MAX_PATH) return E_FAIL;
  KeyText server = classKey("\\InprocServer32");
  if (!writeKey(classKey(""), nullptr, L"Shockwave Flash Object") || !writeKey(server, nullptr, path) ||
      !writeKey(server, L"ThreadingModel", L"Apartment"))
    return SELFREG_E_CLASS;
  return S_OK;
}

// Keys that others added under the class stay, and so does the class key then.
extern "C" HRESULT WINAPI DllUnregisterServer(void) {
  LONG server = RegDeleteKeyA(HKEY_CLASSES_ROOT, classKey("\\InprocServer32").text);
  if (server != ERROR_SUCCESS && server != ERROR_FILE_NOT_FOUND) return SELFREG_E_CLASS;
  RegDeleteKeyA(HKEY_CLASSES_ROOT, classKey("").text);
  return S_OK;
}
