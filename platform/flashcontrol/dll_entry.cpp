// The in-process server's entry points.
#include <windows.h>
#include <ole2.h>

#include "bundled_fonts.h"
#include "class_factory.h"
#include "flash_control.h"
#include "server_module.h"

namespace {

HINSTANCE instance = nullptr;
LONG serverLocks = 0;

}  // namespace

HINSTANCE serverInstance() { return instance; }

void lockServer(bool lock) {
  if (lock)
    InterlockedIncrement(&serverLocks);
  else
    InterlockedDecrement(&serverLocks);
}

bool serverLocked() { return serverLocks > 0; }

extern "C" BOOL WINAPI DllMain(HINSTANCE dll, DWORD reason, LPVOID) {
  if (reason == DLL_PROCESS_ATTACH) {
    instance = dll;
    DisableThreadLibraryCalls(dll);
  }
  return TRUE;
}

extern "C" HRESULT WINAPI DllGetClassObject(REFCLSID clsid, REFIID iid, void** object) {
  if (!object) return E_POINTER;
  *object = nullptr;
  if (!IsEqualCLSID(clsid, CLSID_ShockwaveFlash)) return CLASS_E_CLASSNOTAVAILABLE;
  useBundledFonts();
  IClassFactory* factory = flashClassFactory();
  return factory->lpVtbl->QueryInterface(factory, iid, object);
}

extern "C" HRESULT WINAPI DllCanUnloadNow(void) { return flashControlCount() == 0 && !serverLocked() ? S_OK : S_FALSE; }
