#include "class_factory.h"

#include "flash_control.h"
#include "server_module.h"

namespace {

HRESULT STDMETHODCALLTYPE Factory_QueryInterface(IClassFactory* iface, REFIID iid, void** object) {
  if (!object) return E_POINTER;
  if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IClassFactory)) {
    *object = iface;
    return S_OK;
  }
  *object = nullptr;
  return E_NOINTERFACE;
}
// A static object: references keep nothing alive, LockServer does.
ULONG STDMETHODCALLTYPE Factory_AddRef(IClassFactory*) { return 2; }
ULONG STDMETHODCALLTYPE Factory_Release(IClassFactory*) { return 1; }
HRESULT STDMETHODCALLTYPE Factory_CreateInstance(IClassFactory*, IUnknown* outer, REFIID iid, void** object) {
  if (!object) return E_POINTER;
  *object = nullptr;
  if (outer) return CLASS_E_NOAGGREGATION;
  FlashControl* control = createFlashControl();
  if (!control) return E_OUTOFMEMORY;
  HRESULT hr = flashQueryInterface(control, iid, object);
  flashRelease(control);
  return hr;
}
HRESULT STDMETHODCALLTYPE Factory_LockServer(IClassFactory*, BOOL lock) {
  lockServer(lock != FALSE);
  return S_OK;
}

const IClassFactoryVtbl kFactoryVtbl = {
    Factory_QueryInterface, Factory_AddRef, Factory_Release, Factory_CreateInstance, Factory_LockServer,
};

IClassFactory factory = {&kFactoryVtbl};

}  // namespace

IClassFactory* flashClassFactory() { return &factory; }
