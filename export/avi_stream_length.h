// Sets the length in an AVI file's sound stream header after the file is
// written. The AVI file services of some systems count a sound stream's length
// in writes rather than in sample frames; players that trust the header then
// cut the sound or cannot tell its duration.
#pragma once

#include <cstdint>

// Writes length into the dwLength of the first "auds" stream header of the
// file at path, when it differs; false when the file has no such header or
// cannot be rewritten.
bool setSoundStreamLength(const char* path, uint32_t length);
