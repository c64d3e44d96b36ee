// The About box, with the maker's home page as a link.
#pragma once

#include <windows.h>

void showAboutDialog(HWND owner);
