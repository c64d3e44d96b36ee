// The editor's own module "preminfo.dll", loaded from beside the program,
// through which the editor opens files (its project files above all), and a
// look at that module's import slots from the editor's side.
#pragma once

#include <windows.h>

#include <string>

namespace editor {

// Loads the module once; null when it is not beside the program.
HMODULE editorModule();

// CreateFile through the module's imports; INVALID_HANDLE_VALUE with the
// system's error otherwise.
HANDLE openThroughEditor(const std::string& path, DWORD access, DWORD share, DWORD disposition);
HANDLE openThroughEditorW(const std::wstring& path, DWORD access, DWORD share, DWORD disposition);

// Opens a project as the editor does (reading, shared for reading, existing
// only) and reads it whole; false when it cannot be opened.
bool openProject(const std::string& path, std::string* contents);

// The address now in module's import slot for dll!function (names compared
// in any letter case); null when there is no such import.
void* importSlot(HMODULE module, const char* dll, const char* function);

}  // namespace editor
