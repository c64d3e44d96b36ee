// Reading a movie file given as a local path.
#pragma once

#include <windows.h>

#include <cstdint>
#include <vector>

#include "read/movie_file.h"
#include "timeline/movie_files.h"

// The header fields of the movie at path, read from the start of the file
// only: a compressed movie is inflated no further than its header. It fails
// for exactly the files the player would refuse to load (no movie, a header
// cut short, too large), with the system's reason when the file cannot be read.
HRESULT readLocalMovieHeader(const wchar_t* path, swf::MovieFile* header);

// The whole file; an HRESULT for the system's reason when it cannot be read.
HRESULT readLocalMovie(const wchar_t* path, std::vector<uint8_t>* bytes);

// The files the movie at moviePath loads (names come as UTF-8 with either
// slash): those in the folder base names, a path or a "file:" url, or with
// no base (or "."), those beside the movie. A base on another scheme gives
// no files: the control has no network.
swf::MovieFileSource localMovieFiles(const wchar_t* base, const wchar_t* moviePath);
