// Opens documents and web addresses in the user's viewer: the shell's "open"
// verb first, else the command registered for .htm files with the target
// appended.
#pragma once

#include <windows.h>

#include <string>

// True when the shell or the started viewer accepted the target.
bool openDocument(const char* target, int show);

// The hyperlink's variant: the same steps with the older registry queries,
// returning the raw result of the shell or of the program start (above 32:
// success).
UINT_PTR openLinkTarget(const char* target, int show);

// The registered command line cut at its first quoted placeholder ("%1" in
// quotes), else at its first %1, followed by a blank and the target.
std::string browserCommandFor(const char* registeredCommand, const char* target);
