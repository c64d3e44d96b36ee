// What a stand-in answers for a method it leaves out. Quietly by default; with
// MVQ_TRACE_NOTIMPL set (test runs set it), each call is named, so that a host
// relying on a missing piece shows up in the log instead of failing silently.
// The variable's value is a file to append to, or "1" for standard error.
#pragma once

#include <windows.h>

HRESULT notImplemented(const char* method);
