// Load and unload steps of the renderer subsystem.
#include "atl_containment.h"
#include "frame_renderer_object.h"
#include "renderer_lock.h"

namespace {

bool comStarted = false;
bool windowClassReady = false;

}  // namespace

HINSTANCE rendererModule() {
  HMODULE module = nullptr;
  GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                     reinterpret_cast<LPCSTR>(&rendererModule), &module);
  return module;
}

bool rendererLoad() {
  if (FAILED(CoInitialize(nullptr))) return false;
  comStarted = true;
  if (!AtlAxWinInit()) {
    rendererUnload();
    return false;
  }
  windowClassReady = true;
  createRendererLock();
  setCacheOptions(nullptr, 30);
  return true;
}

void rendererUnload() {
  clearMovieCache();
  deleteRendererLock();
  if (windowClassReady) AtlAxWinTerm();
  windowClassReady = false;
  if (comStarted) CoUninitialize();
  comStarted = false;
}
