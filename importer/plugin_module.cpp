// The plug-in DLL's load and unload steps.
#include <windows.h>

#include "file_open_interception.h"
#include "frame_renderer.h"
#include "import_selectors.h"
#include "movie_cache.h"

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID reserved) {
  switch (reason) {
    case DLL_PROCESS_ATTACH: DisableThreadLibraryCalls(instance); return rendererLoad() ? TRUE : FALSE;
    case DLL_PROCESS_DETACH:
      // At process exit only the cached copies go: the system's own DLLs may
      // already be shut down. A host that unloads the plug-in without
      // imShutdown must not keep calling into code that is gone.
      if (reserved) {
        clearMovieCache();
        return TRUE;
      }
      removeFileOpenInterception();
      rendererUnload();
      return TRUE;
    default: return TRUE;
  }
}
