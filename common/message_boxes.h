// Message boxes that show string-table texts under the program's title.
#pragma once

#include <windows.h>

constexpr char kMessageBoxTitle[] = "Moviquill";

// The text of string id with the error icon and OK; nothing when the string is missing.
void errorBox(HWND owner, UINT stringId);
// The button pressed, or 0 when the string is missing (no box is shown then).
int stringMessageBox(HWND owner, UINT stringId, UINT type);
// As stringMessageBox, with value formatted into the text's one integer placeholder.
int formattedMessageBox(HWND owner, UINT stringId, UINT type, int value);
