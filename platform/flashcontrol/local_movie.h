// Reading a movie file given as a local path.
#pragma once

#include <windows.h>

#include <cstdint>
#include <vector>

#include "read/movie_file.h"

// The header fields of the movie at path, read from the start of the file
// only: a compressed movie is inflated no further than its header. It fails
// for exactly the files the player would refuse to load (no movie, a header
// cut short, too large), with the system's reason when the file cannot be read.
HRESULT readLocalMovieHeader(const wchar_t* path, swf::MovieFile* header);

// The whole file; an HRESULT for the system's reason when it cannot be read.
HRESULT readLocalMovie(const wchar_t* path, std::vector<uint8_t>* bytes);
