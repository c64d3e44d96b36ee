// The in-process server's module state (internal).
#pragma once

#include <windows.h>

HINSTANCE serverInstance();
// Server locks taken with IClassFactory::LockServer.
void lockServer(bool lock);
bool serverLocked();
