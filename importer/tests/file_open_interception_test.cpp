// The interception in this process: on the editor's stand-in module, whose
// file opens go through its own imports, and on module images built here to
// show what must never be patched.
#include "file_open_interception.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "editor_module.h"
#include "project_clip_lengths.h"
#include "test_files.h"

namespace {

class EditorModuleInterceptionTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_NE(editor::editorModule(), nullptr) << "preminfo.dll is not beside the test";
    installFileOpenInterception();
    projectFilePath[0] = '\0';
  }
  void TearDown() override {
    removeFileOpenInterception();
    projectFilePath[0] = '\0';
    discardProjectClipRecords();
  }
  std::string file(const std::string& name) { return dir_.write(name, mvqtest::Bytes{'[', ']'}); }
  static void closeIfOpen(HANDLE h) {
    if (h != INVALID_HANDLE_VALUE) CloseHandle(h);
  }

  mvqtest::TempDir dir_;
};

TEST_F(EditorModuleInterceptionTest, ProjectOpenedForReadingIsNoted) {
  const std::string path = file("PROJECT.PPJ");
  HANDLE h = editor::openThroughEditor(path, GENERIC_READ, FILE_SHARE_READ, OPEN_EXISTING);
  EXPECT_NE(h, INVALID_HANDLE_VALUE);
  closeIfOpen(h);
  EXPECT_EQ(std::string(projectFilePath), path);
}

TEST_F(EditorModuleInterceptionTest, OpeningEmptiesTheSavedLengths) {
  const std::string path = dir_.write("list.ppj", mvqtest::Bytes{});
  const std::string text = "[FILE]\nx\nparam=1,0,0,0,\n[FNAM]\nfname=a.swf\n";
  ASSERT_TRUE(mvqtest::writeFile(path, mvqtest::Bytes(text.begin(), text.end())));
  std::strcpy(projectFilePath, path.c_str());
  readProjectClipRecords();
  ASSERT_NE(projectClipRecords(), nullptr);
  closeIfOpen(editor::openThroughEditor(path, GENERIC_READ, FILE_SHARE_READ, OPEN_EXISTING));
  EXPECT_EQ(projectClipRecords(), nullptr);
}

TEST_F(EditorModuleInterceptionTest, OtherOpensThroughTheNarrowImportAreNotNoted) {
  const std::string project = file("p.ppj");
  closeIfOpen(editor::openThroughEditor(project, GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ, OPEN_EXISTING));
  closeIfOpen(editor::openThroughEditor(project, GENERIC_READ, 0, OPEN_EXISTING));
  closeIfOpen(editor::openThroughEditor(project, GENERIC_READ, FILE_SHARE_READ, OPEN_ALWAYS));
  closeIfOpen(editor::openThroughEditor(file("p.ppjx"), GENERIC_READ, FILE_SHARE_READ, OPEN_EXISTING));
  closeIfOpen(editor::openThroughEditor(file("p.ppj.bak"), GENERIC_READ, FILE_SHARE_READ, OPEN_EXISTING));
  closeIfOpen(editor::openThroughEditor(file("p.ppj.dir\\x"), GENERIC_READ, FILE_SHARE_READ, OPEN_EXISTING));
  EXPECT_STREQ(projectFilePath, "");
}

TEST_F(EditorModuleInterceptionTest, MissingProjectIsNotNotedAndTheFailureComesBackUnchanged) {
  SetLastError(0);
  HANDLE h = editor::openThroughEditor(dir_.file("gone.ppj"), GENERIC_READ, FILE_SHARE_READ, OPEN_EXISTING);
  EXPECT_EQ(h, INVALID_HANDLE_VALUE);
  EXPECT_EQ(GetLastError(), DWORD(ERROR_FILE_NOT_FOUND));
  EXPECT_STREQ(projectFilePath, "");
}

TEST_F(EditorModuleInterceptionTest, WideOpenOfAnExistingProjectIsNotedEvenForWriting) {
  const std::string path = file("wide.ppj");
  const std::wstring wide(path.begin(), path.end());
  HANDLE h = editor::openThroughEditorW(wide, GENERIC_WRITE, 0, OPEN_EXISTING);
  EXPECT_NE(h, INVALID_HANDLE_VALUE);
  closeIfOpen(h);
  EXPECT_EQ(std::string(projectFilePath), path);
  projectFilePath[0] = '\0';
  const std::string other = file("wide.ppjx");
  closeIfOpen(editor::openThroughEditorW(std::wstring(other.begin(), other.end()), GENERIC_READ, FILE_SHARE_READ,
                                         OPEN_EXISTING));
  EXPECT_STREQ(projectFilePath, "");
}

TEST_F(EditorModuleInterceptionTest, TooLongPathsAreIgnoredNotCut) {
  const std::wstring longPath = L"C:\\" + std::wstring(300, L'd') + L"\\x.ppj";
  HANDLE h = editor::openThroughEditorW(longPath, GENERIC_READ, FILE_SHARE_READ, OPEN_EXISTING);
  EXPECT_EQ(h, INVALID_HANDLE_VALUE);
  EXPECT_STREQ(projectFilePath, "");
}

TEST_F(EditorModuleInterceptionTest, RemovalPutsTheRealFunctionsBackAndInstallingTwiceIsHarmless) {
  HMODULE module = editor::editorModule();
  void* hooked = editor::importSlot(module, "kernel32.dll", "CreateFileA");
  EXPECT_EQ(hooked, reinterpret_cast<void*>(&hookedCreateFileA));
  installFileOpenInterception();
  removeFileOpenInterception();
  void* real = reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("kernel32.dll"), "CreateFileA"));
  EXPECT_EQ(editor::importSlot(module, "kernel32.dll", "CreateFileA"), real);
  EXPECT_NE(editor::importSlot(module, "kernel32.dll", "CreateFileW"), reinterpret_cast<void*>(&hookedCreateFileW));
  const std::string path = file("after.ppj");
  closeIfOpen(editor::openThroughEditor(path, GENERIC_READ, FILE_SHARE_READ, OPEN_EXISTING));
  EXPECT_STREQ(projectFilePath, "");
}

// A module image laid out in memory by the test: headers, import
// descriptors, name tables and import slots.
class BuiltImage {
 public:
  static constexpr DWORD kSize = 0x3000;
  static constexpr DWORD kSlotsPage = 0x2000;

  BuiltImage() {
    base_ = static_cast<BYTE*>(VirtualAlloc(nullptr, kSize, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE));
    auto* dos = at<IMAGE_DOS_HEADER>(0);
    dos->e_magic = IMAGE_DOS_SIGNATURE;
    dos->e_lfanew = 0x80;
    auto* nt = at<IMAGE_NT_HEADERS32>(0x80);
    nt->Signature = IMAGE_NT_SIGNATURE;
    nt->FileHeader.Machine = IMAGE_FILE_MACHINE_I386;
    nt->FileHeader.SizeOfOptionalHeader = sizeof(IMAGE_OPTIONAL_HEADER32);
    nt->OptionalHeader.Magic = IMAGE_NT_OPTIONAL_HDR32_MAGIC;
    nt->OptionalHeader.SizeOfImage = kSize;
    nt->OptionalHeader.NumberOfRvaAndSizes = 16;
  }
  ~BuiltImage() { VirtualFree(base_, 0, MEM_RELEASE); }
  BuiltImage(const BuiltImage&) = delete;
  BuiltImage& operator=(const BuiltImage&) = delete;

  template <typename T>
  T* at(DWORD rva) {
    return reinterpret_cast<T*>(base_ + rva);
  }
  HMODULE module() { return reinterpret_cast<HMODULE>(base_); }

  // One descriptor per call: dll, and imports as names (or "#N" ordinals)
  // with the address each slot holds.
  void addImports(const char* dll, const std::vector<std::pair<std::string, void*>>& imports) {
    const DWORD descriptorRva = 0x1000 + descriptors_ * sizeof(IMAGE_IMPORT_DESCRIPTOR);
    auto* d = at<IMAGE_IMPORT_DESCRIPTOR>(descriptorRva);
    d->Name = text(dll);
    d->OriginalFirstThunk = next_;
    next_ += DWORD(imports.size() + 1) * 4;
    d->FirstThunk = slots_;
    slots_ += DWORD(imports.size() + 1) * 4;
    for (size_t i = 0; i < imports.size(); ++i) {
      const std::string& name = imports[i].first;
      DWORD entry = name[0] == '#' ? (IMAGE_ORDINAL_FLAG32 | DWORD(std::stoul(name.substr(1)))) : hint(name);
      at<DWORD>(d->OriginalFirstThunk)[i] = entry;
      at<ULONG_PTR>(d->FirstThunk)[i] = reinterpret_cast<ULONG_PTR>(imports[i].second);
    }
    ++descriptors_;
    auto& dir = at<IMAGE_NT_HEADERS32>(0x80)->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
    dir.VirtualAddress = 0x1000;
    dir.Size = (descriptors_ + 1) * sizeof(IMAGE_IMPORT_DESCRIPTOR);
  }
  void* slot(int descriptor, int index) {
    auto* d = at<IMAGE_IMPORT_DESCRIPTOR>(0x1000 + descriptor * sizeof(IMAGE_IMPORT_DESCRIPTOR));
    return reinterpret_cast<void*>(at<ULONG_PTR>(d->FirstThunk)[index]);
  }
  DWORD slotsProtection() {
    MEMORY_BASIC_INFORMATION page;
    VirtualQuery(base_ + kSlotsPage, &page, sizeof page);
    return page.Protect;
  }
  void protectSlots(DWORD protection) {
    DWORD old;
    VirtualProtect(base_ + kSlotsPage, 0x1000, protection, &old);
  }

 private:
  DWORD text(const std::string& s) {
    const DWORD rva = next_;
    std::memcpy(base_ + rva, s.c_str(), s.size() + 1);
    next_ += DWORD(s.size() + 4) & ~3u;
    return rva;
  }
  DWORD hint(const std::string& name) {
    const DWORD rva = next_;
    next_ += 2;
    text(name);
    return rva;
  }

  BYTE* base_;
  DWORD descriptors_ = 0;
  DWORD next_ = 0x1400;
  DWORD slots_ = kSlotsPage;
};

int replacementA = 0, replacementB = 0;
HookEntry testEntries[] = {
    {"CreateFileA", &replacementA, nullptr}, {"CreateFileW", &replacementB, nullptr}, {nullptr, nullptr, nullptr}};
ImportHookTable testTable = {"Kernel32.DLL", testEntries};

// Code addresses, as real import slots hold.
void* code(int n) { return reinterpret_cast<void*>(reinterpret_cast<ULONG_PTR>(&GetTickCount) + n); }

TEST(ImageInterception, OnlyNamedImportsOfTheModuleInAnyCaseAreReplaced) {
  BuiltImage image;
  static char data[16];
  image.addImports("kernel32.DLL",
                   {{"createfilea", code(0)}, {"#5", code(1)}, {"CreateFileW", data}, {"ReadFile", code(2)}});
  image.addImports("user32.dll", {{"CreateFileA", code(3)}});
  image.protectSlots(PAGE_READONLY);
  patchModuleImports(image.module(), &testTable);
  EXPECT_EQ(image.slot(0, 0), &replacementA);
  EXPECT_EQ(image.slot(0, 1), code(1));  // by ordinal
  EXPECT_EQ(image.slot(0, 2), data);     // pointing at writable memory
  EXPECT_EQ(image.slot(0, 3), code(2));
  EXPECT_EQ(image.slot(1, 0), code(3));  // another DLL's import
  EXPECT_EQ(image.slotsProtection(), DWORD(PAGE_READONLY));
  EXPECT_EQ(testEntries[0].realAddress, code(0));

  restoreModuleImports(image.module(), &testTable);
  EXPECT_EQ(image.slot(0, 0), code(0));
  EXPECT_EQ(image.slot(0, 2), data);
  EXPECT_EQ(image.slotsProtection(), DWORD(PAGE_READONLY));
}

TEST(ImageInterception, DamagedImagesAreLeftAlone) {
  {
    BuiltImage image;
    image.addImports("kernel32.dll", {{"CreateFileA", code(0)}});
    image.at<IMAGE_DOS_HEADER>(0)->e_magic = 0;
    patchModuleImports(image.module(), &testTable);
    EXPECT_EQ(image.slot(0, 0), code(0));
  }
  {
    BuiltImage image;
    image.addImports("kernel32.dll", {{"CreateFileA", code(0)}});
    image.at<IMAGE_NT_HEADERS32>(0x80)->Signature = 0x00014550;  // "PE", 1, 0
    patchModuleImports(image.module(), &testTable);
    EXPECT_EQ(image.slot(0, 0), code(0));
  }
  {
    BuiltImage image;
    image.addImports("kernel32.dll", {{"CreateFileA", code(0)}});
    image.at<IMAGE_DOS_HEADER>(0)->e_lfanew = 0x7FFFFFF0;
    patchModuleImports(image.module(), &testTable);
    EXPECT_EQ(image.slot(0, 0), code(0));
  }
  {
    BuiltImage image;
    image.addImports("kernel32.dll", {{"CreateFileA", code(0)}});
    auto& dir = image.at<IMAGE_NT_HEADERS32>(0x80)->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
    dir.VirtualAddress = 0;
    patchModuleImports(image.module(), &testTable);
    EXPECT_EQ(image.slot(0, 0), code(0));
    dir.VirtualAddress = BuiltImage::kSize + 0x100;  // outside the image
    dir.Size = 40;
    patchModuleImports(image.module(), &testTable);
    EXPECT_EQ(image.slot(0, 0), code(0));
  }
  patchModuleImports(nullptr, &testTable);
}

TEST(ImageInterception, DescriptorWithoutNameTableIsSkipped) {
  BuiltImage image;
  image.addImports("kernel32.dll", {{"CreateFileA", code(0)}});
  image.at<IMAGE_IMPORT_DESCRIPTOR>(0x1000)->OriginalFirstThunk = 0;
  patchModuleImports(image.module(), &testTable);
  EXPECT_EQ(image.slot(0, 0), code(0));
}

}  // namespace
