#include "editor_module.h"

#include "importer_host.h"

namespace editor {

namespace {

using OpenA = HANDLE(__cdecl*)(const char*, DWORD, DWORD, DWORD);
using OpenW = HANDLE(__cdecl*)(const wchar_t*, DWORD, DWORD, DWORD);

template <typename F>
F editorFunction(const char* name) {
  HMODULE module = editorModule();
  return module ? reinterpret_cast<F>(GetProcAddress(module, name)) : nullptr;
}

}  // namespace

HMODULE editorModule() {
  static HMODULE module = LoadLibraryA((programDirectory() + "preminfo.dll").c_str());
  return module;
}

HANDLE openThroughEditor(const std::string& path, DWORD access, DWORD share, DWORD disposition) {
  OpenA open = editorFunction<OpenA>("PremOpenFileA");
  if (!open) {
    SetLastError(ERROR_MOD_NOT_FOUND);
    return INVALID_HANDLE_VALUE;
  }
  return open(path.c_str(), access, share, disposition);
}

HANDLE openThroughEditorW(const std::wstring& path, DWORD access, DWORD share, DWORD disposition) {
  OpenW open = editorFunction<OpenW>("PremOpenFileW");
  if (!open) {
    SetLastError(ERROR_MOD_NOT_FOUND);
    return INVALID_HANDLE_VALUE;
  }
  return open(path.c_str(), access, share, disposition);
}

bool openProject(const std::string& path, std::string* contents) {
  HANDLE file = openThroughEditor(path, GENERIC_READ, FILE_SHARE_READ, OPEN_EXISTING);
  if (file == INVALID_HANDLE_VALUE) return false;
  contents->clear();
  char chunk[4096];
  DWORD got = 0;
  while (ReadFile(file, chunk, sizeof chunk, &got, nullptr) && got > 0) contents->append(chunk, got);
  CloseHandle(file);
  return true;
}

// The editor's modules are its own and well formed: no checks beyond the
// signatures.
void* importSlot(HMODULE module, const char* dll, const char* function) {
  auto* base = reinterpret_cast<BYTE*>(module);
  auto* dos = reinterpret_cast<IMAGE_DOS_HEADER*>(base);
  if (!base || dos->e_magic != IMAGE_DOS_SIGNATURE) return nullptr;
  auto* nt = reinterpret_cast<IMAGE_NT_HEADERS32*>(base + dos->e_lfanew);
  if (nt->Signature != IMAGE_NT_SIGNATURE) return nullptr;
  const DWORD imports = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT].VirtualAddress;
  if (!imports) return nullptr;
  for (auto* d = reinterpret_cast<IMAGE_IMPORT_DESCRIPTOR*>(base + imports); d->FirstThunk; ++d) {
    if (lstrcmpiA(reinterpret_cast<const char*>(base + d->Name), dll) != 0) continue;
    auto* names = reinterpret_cast<IMAGE_THUNK_DATA32*>(base + d->OriginalFirstThunk);
    auto* slots = reinterpret_cast<IMAGE_THUNK_DATA32*>(base + d->FirstThunk);
    for (int i = 0; names[i].u1.AddressOfData; ++i) {
      if (IMAGE_SNAP_BY_ORDINAL32(names[i].u1.Ordinal)) continue;
      auto* byName = reinterpret_cast<IMAGE_IMPORT_BY_NAME*>(base + names[i].u1.AddressOfData);
      if (lstrcmpiA(reinterpret_cast<const char*>(byName->Name), function) == 0)
        return reinterpret_cast<void*>(slots[i].u1.Function);
    }
  }
  return nullptr;
}

}  // namespace editor
