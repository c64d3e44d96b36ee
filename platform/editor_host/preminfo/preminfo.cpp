// Stand-in for the editor's module "preminfo.dll": the editor opens its
// project files through this module, that is through its own imports of
// CreateFileA and CreateFileW, which an importer may replace.
#include <windows.h>

extern "C" HANDLE __cdecl PremOpenFileA(const char* path, DWORD access, DWORD share, DWORD disposition) {
  return CreateFileA(path, access, share, nullptr, disposition, FILE_ATTRIBUTE_NORMAL, nullptr);
}

extern "C" HANDLE __cdecl PremOpenFileW(const wchar_t* path, DWORD access, DWORD share, DWORD disposition) {
  return CreateFileW(path, access, share, nullptr, disposition, FILE_ATTRIBUTE_NORMAL, nullptr);
}
