// Sends a dialog's child notifications back to the child that caused them,
// with kReflectedMessageBase added, so that subclassed controls can answer them.
#pragma once

#include <windows.h>

// Control messages sent back to the child that caused them have this added.
constexpr UINT kReflectedMessageBase = 0x2000;

// The notifications a dialog gets from its children: the ones reflected.
bool isChildNotification(UINT message);
// True (and *result set) when the message was a child notification and was reflected.
bool reflectNotification(HWND parent, UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result);
