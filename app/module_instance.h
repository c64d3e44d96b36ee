// The module every resource (strings, dialogs, menu, icon, cursor) is loaded from.
#pragma once

#include <windows.h>

inline HINSTANCE appInstance() { return GetModuleHandleA(nullptr); }
