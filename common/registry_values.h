// Raw registry access shared by the settings store and the document opener.
#pragma once

#include <windows.h>

// Reads a value's data (any type; a null name reads the key's default value).
// *size: the buffer size going in, the data size coming out. False when the key
// cannot be opened or the data does not fit.
bool readRegistryValue(HKEY root, const char* subkey, const char* name, void* buffer, DWORD* size);

// readRegistryValue for text: on success the buffer holds a terminated string,
// even when the stored data lacked the terminator; data that fills the whole
// buffer without one does not fit.
bool readRegistryText(HKEY root, const char* subkey, const char* name, char* buffer, DWORD size);

// Creates or opens the subkey and sets the value as REG_SZ with its terminator.
bool writeRegistryString(HKEY root, const char* subkey, const char* name, const char* text);
