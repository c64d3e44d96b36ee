// What the editor offers every plug-in call: the standard parameters with the
// interface version, the memory callbacks (blocks counted, so that leaks and
// foreign frees show) and the window callback that names the main window.
#pragma once

#include <windows.h>

#include <cstdint>

namespace editor {

#pragma pack(push, 1)
struct MemoryCallbacks {
  char* (*newPtr)(int32_t size);
  void (*setPtrSize)(char** ptr, int32_t size);
  int32_t (*getPtrSize)(char* ptr);
  void (*disposePtr)(char* ptr);
};
struct WindowCallbacks {
  HWND (*getMainWnd)(void);
};
struct Suites {
  int32_t piInterfaceVer;
  MemoryCallbacks* memFuncs;
  WindowCallbacks* windFuncs;
};
struct StdParms {
  int32_t imInterfaceVer;
  Suites* piSuites;
};
#pragma pack(pop)

// The standard parameters of this process's editor.
StdParms* standardParameters();
void setInterfaceVersion(int32_t version);

// Blocks handed out by newPtr and not yet disposed of.
int liveHostBlocks();
// disposePtr calls with a pointer the host never handed out (or twice).
int foreignDisposals();
bool isHostBlock(const void* p);

// The editor's main window (made on first use): the owner of plug-in dialogs.
HWND editorMainWindow();
void destroyEditorMainWindow();

}  // namespace editor
