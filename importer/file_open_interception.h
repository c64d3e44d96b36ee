// The plug-in learns which project file the editor opens by replacing, in the
// import address table of the editor's module "preminfo.dll" only, the
// addresses of CreateFileA and CreateFileW. The replacements note the path of
// a ".ppj" file opened for reading, then call the real function unchanged.
#pragma once

#include <windows.h>

struct HookEntry {
  const char* functionName;
  void* replacement;  // written into the import slot
  void* realAddress;  // what the slot held before
};

struct ImportHookTable {
  const char* moduleName;  // the DLL whose imports are replaced
  HookEntry* entries;      // ended by an entry without a name
};

// "Kernel32.DLL": CreateFileA and CreateFileW.
extern ImportHookTable importHookTable;

// Patches "preminfo.dll" when it is loaded; otherwise nothing happens.
void installFileOpenInterception();
// Puts the real functions back into the slots that were replaced.
void removeFileOpenInterception();

// The same on any module image. A damaged image, an empty import directory or
// a page that cannot be made writable leave the imports as they are.
void patchModuleImports(HMODULE module, ImportHookTable* table);
void restoreModuleImports(HMODULE module, ImportHookTable* table);

HANDLE WINAPI hookedCreateFileA(LPCSTR name, DWORD access, DWORD share, LPSECURITY_ATTRIBUTES security,
                                DWORD disposition, DWORD flags, HANDLE templateFile);
HANDLE WINAPI hookedCreateFileW(LPCWSTR name, DWORD access, DWORD share, LPSECURITY_ATTRIBUTES security,
                                DWORD disposition, DWORD flags, HANDLE templateFile);
