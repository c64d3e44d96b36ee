// Files a movie's scripts ask for (loadMovie, MovieClipLoader, LoadVars,
// XML, loadVariables): named by urls relative to the playing movie, read
// from its folder by whoever hosts the player.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace swf {

// Reads a file by its name below the movie's folder; false when it cannot.
using MovieFileSource = std::function<bool(const std::string& name, std::vector<uint8_t>& bytes)>;

// The file a url names beside the movie, read through source: the query and
// a "file:///" prefix dropped. Another scheme, an absolute path or a ".."
// reads nothing, so a movie never reaches files outside its folder.
bool readBesideMovie(const MovieFileSource& source, const std::string& url, std::vector<uint8_t>& bytes);

// A name that stays below the folder it is read from.
bool insideFolder(const std::string& name);

// The files in the folder of the movie at moviePath, through the C++
// library's file streams (the native tools).
MovieFileSource filesBeside(const std::string& moviePath);

}  // namespace swf
