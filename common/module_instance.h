// The module every resource (strings, dialogs, menu, icon, cursor) is loaded from:
// the one holding this code, so the helpers shared with the plug-in find the
// plug-in's own resources there.
#pragma once

#include <windows.h>

inline HINSTANCE appInstance() {
  HMODULE module = nullptr;
  GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                     reinterpret_cast<LPCSTR>(&appInstance), &module);
  return module;
}
