#include "file_open_interception.h"

#include <io.h>

#include <cstring>
#include <cwchar>
#include <string>

#include "project_clip_lengths.h"

namespace {

HookEntry hookEntries[] = {
    {"CreateFileA", reinterpret_cast<void*>(&hookedCreateFileA), nullptr},
    {"CreateFileW", reinterpret_cast<void*>(&hookedCreateFileW), nullptr},
    {nullptr, nullptr, nullptr},
};

constexpr char kHostModule[] = "preminfo.dll";
constexpr LONG kMaxHeaderOffset = 0x10000;

using CreateFileAFunction = HANDLE(WINAPI*)(LPCSTR, DWORD, DWORD, LPSECURITY_ATTRIBUTES, DWORD, DWORD, HANDLE);
using CreateFileWFunction = HANDLE(WINAPI*)(LPCWSTR, DWORD, DWORD, LPSECURITY_ATTRIBUTES, DWORD, DWORD, HANDLE);

struct ModuleImage {
  BYTE* base = nullptr;
  DWORD size = 0;
  IMAGE_IMPORT_DESCRIPTOR* imports = nullptr;

  bool holds(DWORD rva, DWORD length) const { return rva < size && length <= size - rva; }
  template <typename T>
  T* at(DWORD rva) const {
    return holds(rva, sizeof(T)) ? reinterpret_cast<T*>(base + rva) : nullptr;
  }
};

// The image's headers, checked before anything behind them is read.
bool openImage(HMODULE module, ModuleImage* image) {
  BYTE* base = reinterpret_cast<BYTE*>(module);
  auto* dos = reinterpret_cast<IMAGE_DOS_HEADER*>(base);
  if (!base || IsBadReadPtr(dos, sizeof *dos) || dos->e_magic != IMAGE_DOS_SIGNATURE) return false;
  if (dos->e_lfanew <= 0 || dos->e_lfanew > kMaxHeaderOffset) return false;
  auto* nt = reinterpret_cast<IMAGE_NT_HEADERS32*>(base + dos->e_lfanew);
  if (IsBadReadPtr(nt, sizeof *nt) || nt->Signature != IMAGE_NT_SIGNATURE) return false;
  const IMAGE_OPTIONAL_HEADER32& optional = nt->OptionalHeader;
  if (optional.NumberOfRvaAndSizes <= IMAGE_DIRECTORY_ENTRY_IMPORT) return false;
  const IMAGE_DATA_DIRECTORY& directory = optional.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
  image->base = base;
  image->size = optional.SizeOfImage;
  if (directory.VirtualAddress == 0 || directory.Size == 0 || IsBadReadPtr(base, image->size)) return false;
  image->imports = image->at<IMAGE_IMPORT_DESCRIPTOR>(directory.VirtualAddress);
  return image->imports != nullptr;
}

bool isWindows9x() {
  OSVERSIONINFOA version = {};
  version.dwOSVersionInfoSize = sizeof version;
  return GetVersionExA(&version) && version.dwPlatformId == VER_PLATFORM_WIN32_WINDOWS;
}

// A slot still pointing at code may be replaced; one pointing at writable
// memory is some other hook's data (or, on Windows 9x, a system thunk above
// the shared arena is the real thing).
bool replaceable(void* target) {
  return IsBadWritePtr(target, 1) || (isWindows9x() && reinterpret_cast<ULONG_PTR>(target) > 0x80000000u);
}

HookEntry* entryNamed(ImportHookTable* table, const char* name) {
  for (HookEntry* e = table->entries; e->functionName; ++e)
    if (lstrcmpiA(e->functionName, name) == 0) return e;
  return nullptr;
}

enum class SlotWork { Patch, Restore };

void workSlot(SlotWork work, HookEntry* entry, ULONG_PTR* slot) {
  void* current = reinterpret_cast<void*>(*slot);
  if (work == SlotWork::Patch) {
    if (current == entry->replacement) return;  // patched before
    OutputDebugStringA("Hooked function: ");
    OutputDebugStringA(entry->functionName);
    OutputDebugStringA("\n");
    entry->realAddress = current;
    if (replaceable(current)) *slot = reinterpret_cast<ULONG_PTR>(entry->replacement);
  } else if (current == entry->replacement && entry->realAddress) {
    *slot = reinterpret_cast<ULONG_PTR>(entry->realAddress);
  }
}

void workDescriptor(SlotWork work, const ModuleImage& image, const IMAGE_IMPORT_DESCRIPTOR& descriptor,
                    ImportHookTable* table) {
  if (descriptor.OriginalFirstThunk == 0 || descriptor.FirstThunk == 0) return;
  auto* names = image.at<IMAGE_THUNK_DATA32>(descriptor.OriginalFirstThunk);
  auto* slots = image.at<IMAGE_THUNK_DATA32>(descriptor.FirstThunk);
  if (!names || !slots) return;
  DWORD count = 0;
  while (image.holds(descriptor.FirstThunk + (count + 1) * 4, 4) &&
         image.holds(descriptor.OriginalFirstThunk + (count + 1) * 4, 4) && slots[count].u1.Function)
    ++count;
  if (count == 0) return;

  // The page's access becomes read-write, its modifier bits (above 0xFF)
  // stay. For read-only and executable read-only pages that is clearing those
  // bits and adding read-write; a write-copy page (the system's choice for a
  // loaded module's writable section) must lose its write-copy bit as well.
  MEMORY_BASIC_INFORMATION page;
  if (!VirtualQuery(slots, &page, sizeof page)) return;
  const DWORD writable = (page.Protect & ~DWORD(0xFF)) | PAGE_READWRITE;
  DWORD previous = 0;
  if (!VirtualProtect(slots, count * sizeof(IMAGE_THUNK_DATA32), writable, &previous)) return;
  for (DWORD i = 0; i < count; ++i) {
    if (IMAGE_SNAP_BY_ORDINAL32(names[i].u1.Ordinal)) continue;
    auto* byName = image.at<IMAGE_IMPORT_BY_NAME>(names[i].u1.AddressOfData);
    if (!byName) continue;
    if (HookEntry* entry = entryNamed(table, reinterpret_cast<const char*>(byName->Name)))
      workSlot(work, entry, reinterpret_cast<ULONG_PTR*>(&slots[i].u1.Function));
  }
  DWORD ignored = 0;
  VirtualProtect(slots, count * sizeof(IMAGE_THUNK_DATA32), previous, &ignored);
}

void workImports(SlotWork work, HMODULE module, ImportHookTable* table) {
  ModuleImage image;
  if (!openImage(module, &image)) return;
  const DWORD first = DWORD(reinterpret_cast<BYTE*>(image.imports) - image.base);
  for (DWORD rva = first; image.holds(rva, sizeof(IMAGE_IMPORT_DESCRIPTOR)); rva += sizeof(IMAGE_IMPORT_DESCRIPTOR)) {
    const IMAGE_IMPORT_DESCRIPTOR& descriptor = *image.at<IMAGE_IMPORT_DESCRIPTOR>(rva);
    if (descriptor.FirstThunk == 0) break;
    const char* name = image.at<char>(descriptor.Name);
    if (!name || lstrcmpiA(name, table->moduleName) != 0) continue;
    if (work == SlotWork::Patch) {
      OutputDebugStringA("Found ");
      OutputDebugStringA(name);
      OutputDebugStringA("...\n");
    }
    workDescriptor(work, image, descriptor, table);
  }
}

// The extension from the last dot of the file name part, or an empty text.
template <typename Char>
const Char* extensionOf(const Char* path) {
  const Char* dot = nullptr;
  for (const Char* p = path; *p; ++p) {
    if (*p == '\\' || *p == '/' || *p == ':')
      dot = nullptr;
    else if (*p == '.')
      dot = p;
  }
  return dot ? dot : path + std::char_traits<Char>::length(path);
}

// A path that does not fit is ignored: a cut path would name another file.
void noteProjectFile(const char* path) {
  if (std::strlen(path) >= kProjectPathSize) return;
  std::strcpy(projectFilePath, path);
  discardProjectClipRecords();
}

bool opensForReading(DWORD access, DWORD share, DWORD disposition) {
  return access == GENERIC_READ && share == FILE_SHARE_READ && disposition == OPEN_EXISTING;
}

}  // namespace

ImportHookTable importHookTable = {"Kernel32.DLL", hookEntries};

HANDLE WINAPI hookedCreateFileA(LPCSTR name, DWORD access, DWORD share, LPSECURITY_ATTRIBUTES security,
                                DWORD disposition, DWORD flags, HANDLE templateFile) {
  if (name && opensForReading(access, share, disposition) && _access(name, 4) == 0 &&
      lstrcmpiA(extensionOf(name), ".ppj") == 0)
    noteProjectFile(name);
  auto real = reinterpret_cast<CreateFileAFunction>(hookEntries[0].realAddress);
  if (!real) real = &CreateFileA;
  return real(name, access, share, security, disposition, flags, templateFile);
}

HANDLE WINAPI hookedCreateFileW(LPCWSTR name, DWORD access, DWORD share, LPSECURITY_ATTRIBUTES security,
                                DWORD disposition, DWORD flags, HANDLE templateFile) {
  if (name && (opensForReading(access, share, disposition) || _waccess(name, 4) == 0) &&
      lstrcmpiW(extensionOf(name), L".ppj") == 0) {
    char narrow[kProjectPathSize];
    if (WideCharToMultiByte(CP_ACP, 0, name, -1, narrow, sizeof narrow, nullptr, nullptr)) noteProjectFile(narrow);
  }
  auto real = reinterpret_cast<CreateFileWFunction>(hookEntries[1].realAddress);
  if (!real) real = &CreateFileW;
  return real(name, access, share, security, disposition, flags, templateFile);
}

void patchModuleImports(HMODULE module, ImportHookTable* table) { workImports(SlotWork::Patch, module, table); }

void restoreModuleImports(HMODULE module, ImportHookTable* table) { workImports(SlotWork::Restore, module, table); }

void installFileOpenInterception() {
  if (HMODULE host = GetModuleHandleA(kHostModule)) patchModuleImports(host, &importHookTable);
}

void removeFileOpenInterception() {
  if (HMODULE host = GetModuleHandleA(kHostModule)) restoreModuleImports(host, &importHookTable);
}
