// The installable driver's entry: driver life (DRV_*) and, for each open
// instance, the compressor messages. No exception leaves this function.
#include <windows.h>
#include <vfw.h>

#include <new>

#include "codec_instance.h"

namespace {

using zmbvcodec::CodecInstance;

LRESULT openInstance(const ICOPEN* open) {
  // Opened for something other than video (the driver list is shared with audio).
  if (open != nullptr && open->fccType != 0 && open->fccType != ICTYPE_VIDEO) return 0;
  auto* instance = new (std::nothrow) CodecInstance;
  if (open != nullptr) const_cast<ICOPEN*>(open)->dwError = instance ? ICERR_OK : ICERR_MEMORY;
  return reinterpret_cast<LRESULT>(instance);
}

}  // namespace

extern "C" LRESULT WINAPI DriverProc(DWORD_PTR driverId, HDRVR driver, UINT message, LPARAM param1, LPARAM param2) {
  switch (message) {
    case DRV_LOAD:
    case DRV_FREE:
    case DRV_ENABLE:
    case DRV_DISABLE: return 1;
    case DRV_INSTALL:
    case DRV_REMOVE: return DRV_OK;
    case DRV_QUERYCONFIGURE: return 0;
    case DRV_OPEN: return openInstance(reinterpret_cast<const ICOPEN*>(param2));
    case DRV_CLOSE: delete reinterpret_cast<CodecInstance*>(driverId); return 1;
    default: break;
  }
  if (message < DRV_USER) return DefDriverProc(driverId, driver, message, param1, param2);
  auto* instance = reinterpret_cast<CodecInstance*>(driverId);
  if (instance == nullptr) return ICERR_BADHANDLE;
  try {
    return instance->handle(message, param1, param2);
  } catch (...) {
    return ICERR_MEMORY;
  }
}
