// Reading a movie file given as a local path.
#pragma once

#include <windows.h>

#include <cstdint>
#include <vector>

// The whole file; an HRESULT for the system's reason when it cannot be read.
HRESULT readLocalMovie(const wchar_t* path, std::vector<uint8_t>* bytes);
