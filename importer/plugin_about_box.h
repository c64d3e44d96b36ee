// The plug-in's About box (dialog 203), run modally over its owner.
#pragma once

#include <windows.h>

void showPluginAbout(HWND owner);
