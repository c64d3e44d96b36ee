// The movie cache: the control is only ever given a prepared copy of a movie,
// uncompressed and silent, kept in the cache directory as ~SRxxxx.tmp. Clips
// of one movie share one copy; copies no clip uses are kept (up to the keep
// limit, most recently released first) so that opening a movie again costs
// nothing. A copy is trusted while its source keeps its size and write time.
//
// Process-wide state; every operation runs under the renderer lock (the
// caller holds it, except clearMovieCache which takes it itself).
#pragma once

#include <windows.h>

#include <cstdint>

constexpr size_t kCachePathSize = 260;

struct CacheEntry {
  char sourcePath[kCachePathSize];  // the key, as given
  uint32_t sourceSize;              // low 32 bits when the copy was made
  FILETIME sourceWriteTime;
  char copyName[kCachePathSize];  // inside the cache directory
  int32_t refCount;               // renderers using the copy
  CacheEntry* next;
};

// directory null or empty: the system's temporary folder. A directory that
// does not exist: kRendererECacheDir and nothing changes. A new directory
// takes the in-use copies and the first keepLimit kept copies with it.
HRESULT setCacheOptions(const wchar_t* directory, uint32_t keepLimit);

// The copy of an unchanged source, from the in-use list or back from the kept
// list; copyPath (kCachePathSize bytes) is then its full path. False, with an
// empty copyPath, when there is none.
bool acquireCachedMovie(const char* sourcePath, char* copyPath, bool takeReference);

// Makes a new copy (expanded when compressed, then silenced) and puts it in
// use with one reference. *compressed is 1 when the source was compressed.
HRESULT buildCachedMovie(int32_t* compressed, const char* sourcePath, char* copyPath);

// The in-use entry of an unchanged source. An entry whose copy is gone or
// whose source changed is dropped from the list, and null returned.
CacheEntry* findInUseEntry(const char* sourcePath);

// Moves an in-use entry to the front of the kept list and trims that list to
// the keep limit; false when the entry is not in use.
bool releaseCachedMovie(CacheEntry* entry);

// Keeps the first keepLimit kept copies and deletes the rest; the new limit.
void trimKeptList(uint32_t keepLimit);

// Deletes every copy and forgets the directory (plug-in unload).
void clearMovieCache();

// Size (low 32 bits) and last-write time of a file; false when unreadable.
bool readSourceStamp(const char* path, uint32_t* size, FILETIME* writeTime);

// The cache directory, ending in a backslash; empty before the first set-up.
const char* movieCacheDirectory();
