// Sends a dialog's child notifications back to the child that caused them,
// with kReflectedMessageBase added, so that subclassed controls can answer them.
#pragma once

#include <windows.h>

// True (and *result set) when the message was a child notification and was reflected.
bool reflectNotification(HWND parent, UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result);
