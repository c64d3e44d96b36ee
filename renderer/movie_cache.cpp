#include "movie_cache.h"

#include <mbstring.h>

#include <cstring>
#include <new>

#include "movie_expansion.h"
#include "renderer_lock.h"
#include "renderer_status.h"
#include "silent_copy.h"

namespace {

char cacheDirectory[kCachePathSize] = "";
CacheEntry* inUse = nullptr;  // newest first
CacheEntry* kept = nullptr;   // most recently released first
uint32_t keepLimit = 0;
// Copies of stale in-use entries: a renderer may still have one loaded, so
// they are deleted only when the cache is cleared.
CacheEntry* stale = nullptr;

bool samePath(const char* a, const char* b) {
  return _mbsicmp(reinterpret_cast<const unsigned char*>(a), reinterpret_cast<const unsigned char*>(b)) == 0;
}

bool fileExists(const char* path) { return GetFileAttributesA(path) != INVALID_FILE_ATTRIBUTES; }

// directory + name into out (kCachePathSize); false, out empty, when too long.
bool joinPath(char* out, const char* directory, const char* name) {
  const size_t d = std::strlen(directory), n = std::strlen(name);
  if (d + n >= kCachePathSize) {
    out[0] = '\0';
    return false;
  }
  std::memcpy(out, directory, d);
  std::memcpy(out + d, name, n + 1);
  return true;
}

void copyText(char* out, const char* text) {
  const size_t n = strnlen(text, kCachePathSize - 1);
  std::memcpy(out, text, n);
  out[n] = '\0';
}

void deleteCopy(const char* directory, const CacheEntry* entry) {
  char path[kCachePathSize];
  if (joinPath(path, directory, entry->copyName)) DeleteFileA(path);
}

// Unlinks entry from the list at *head; false when it is not there.
bool unlink(CacheEntry** head, CacheEntry* entry) {
  for (CacheEntry** link = head; *link; link = &(*link)->next) {
    if (*link == entry) {
      *link = entry->next;
      entry->next = nullptr;
      return true;
    }
  }
  return false;
}

void pushFront(CacheEntry** head, CacheEntry* entry) {
  entry->next = *head;
  *head = entry;
}

CacheEntry* findIn(CacheEntry* head, const char* sourcePath) {
  for (CacheEntry* e = head; e; e = e->next)
    if (samePath(e->sourcePath, sourcePath)) return e;
  return nullptr;
}

// The copy exists and the source still has the stamp taken when it was made.
bool entryCurrent(const CacheEntry* entry) {
  char copy[kCachePathSize];
  if (!joinPath(copy, cacheDirectory, entry->copyName) || !fileExists(copy)) return false;
  uint32_t size = 0;
  FILETIME time = {};
  readSourceStamp(entry->sourcePath, &size, &time);
  return size == entry->sourceSize && CompareFileTime(&time, &entry->sourceWriteTime) == 0;
}

void deleteList(CacheEntry** head) {
  while (CacheEntry* e = *head) {
    *head = e->next;
    deleteCopy(cacheDirectory, e);
    delete e;
  }
}

// A fresh temporary name in the cache directory, its empty file removed.
bool takeTemporaryName(char* path) {
  if (GetTempFileNameA(cacheDirectory, "~SR", 0, path) == 0) {
    path[0] = '\0';
    return false;
  }
  DeleteFileA(path);
  return true;
}

void moveCopy(const char* from, const char* to, const CacheEntry* entry) {
  char oldPath[kCachePathSize], newPath[kCachePathSize];
  if (!joinPath(oldPath, from, entry->copyName) || !joinPath(newPath, to, entry->copyName)) return;
  DeleteFileA(newPath);
  MoveFileA(oldPath, newPath);
}

// The directory as the cache keeps it: ANSI, ending in a backslash.
HRESULT resolveDirectory(const wchar_t* directory, char* out) {
  if (!directory || !*directory) {
    const DWORD n = GetTempPathA(kCachePathSize, out);
    if (n == 0 || n >= kCachePathSize) return kRendererECacheDir;
    return S_OK;
  }
  if (GetFileAttributesW(directory) == INVALID_FILE_ATTRIBUTES) return kRendererECacheDir;
  const int n = WideCharToMultiByte(CP_ACP, 0, directory, -1, out, kCachePathSize - 1, nullptr, nullptr);
  if (n <= 1) return kRendererECacheDir;
  const size_t length = std::strlen(out);
  if (out[length - 1] != '\\') {
    out[length] = '\\';
    out[length + 1] = '\0';
  }
  return S_OK;
}

}  // namespace

const char* movieCacheDirectory() { return cacheDirectory; }

bool readSourceStamp(const char* path, uint32_t* size, FILETIME* writeTime) {
  *size = 0;
  *writeTime = FILETIME{};
  char shortPath[kCachePathSize];
  const DWORD n = GetShortPathNameA(path, shortPath, sizeof shortPath);
  const char* name = n > 0 && n < sizeof shortPath ? shortPath : path;
  HANDLE file = CreateFileA(name, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  const DWORD low = GetFileSize(file, nullptr);
  if (low == INVALID_FILE_SIZE && GetLastError() != NO_ERROR) {
    CloseHandle(file);
    return false;
  }
  *size = low;
  const bool timed = GetFileTime(file, nullptr, nullptr, writeTime) != FALSE;
  CloseHandle(file);
  return timed;
}

CacheEntry* findInUseEntry(const char* sourcePath) {
  CacheEntry* entry = findIn(inUse, sourcePath);
  if (!entry) return nullptr;
  if (entryCurrent(entry)) return entry;
  unlink(&inUse, entry);
  pushFront(&stale, entry);
  return nullptr;
}

bool acquireCachedMovie(const char* sourcePath, char* copyPath, bool takeReference) {
  if (CacheEntry* entry = findInUseEntry(sourcePath)) {
    joinPath(copyPath, cacheDirectory, entry->copyName);
    if (takeReference) ++entry->refCount;
    return true;
  }
  CacheEntry* entry = findIn(kept, sourcePath);
  if (!entry) {
    copyPath[0] = '\0';
    return false;
  }
  unlink(&kept, entry);
  joinPath(copyPath, cacheDirectory, entry->copyName);
  if (!entryCurrent(entry)) {
    // No renderer uses a kept copy, so a stale one can go at once.
    deleteCopy(cacheDirectory, entry);
    delete entry;
    copyPath[0] = '\0';
    return false;
  }
  pushFront(&inUse, entry);
  if (takeReference) entry->refCount = 1;
  return true;
}

HRESULT buildCachedMovie(int32_t* compressed, const char* sourcePath, char* copyPath) {
  char expanded[kCachePathSize] = "";
  char silent[kCachePathSize] = "";
  auto fail = [&](HRESULT code) {
    if (expanded[0]) DeleteFileA(expanded);
    if (silent[0]) DeleteFileA(silent);
    copyPath[0] = '\0';
    return code;
  };
  if (!takeTemporaryName(expanded)) return fail(E_FAIL);
  const int expansion = expandCompressedMovie(sourcePath, expanded);
  if (expansion < 0) return fail(kRendererEMovieInvalid);
  const char* input = sourcePath;
  if (expansion == 1) {
    if (!takeTemporaryName(silent)) return fail(E_FAIL);
    input = expanded;
    *compressed = 1;
  } else {
    copyText(silent, expanded);
    expanded[0] = '\0';
    *compressed = 0;
  }
  if (silenceMovieCopy(input, silent) < 0) return fail(E_FAIL);
  if (expanded[0]) {
    DeleteFileA(expanded);
    expanded[0] = '\0';
  }
  CacheEntry* entry = new (std::nothrow) CacheEntry();
  if (!entry) return fail(E_OUTOFMEMORY);
  copyText(entry->sourcePath, sourcePath);
  if (!readSourceStamp(sourcePath, &entry->sourceSize, &entry->sourceWriteTime)) {
    delete entry;
    return fail(E_FAIL);
  }
  const char* slash = std::strrchr(silent, '\\');
  copyText(entry->copyName, slash ? slash + 1 : silent);
  entry->refCount = 1;
  pushFront(&inUse, entry);
  copyText(copyPath, silent);
  return S_OK;
}

bool releaseCachedMovie(CacheEntry* entry) {
  if (!unlink(&inUse, entry)) return false;
  pushFront(&kept, entry);
  ++keepLimit;
  trimKeptList(keepLimit - 1);
  return true;
}

void trimKeptList(uint32_t limit) {
  if (limit < keepLimit) {
    CacheEntry** link = &kept;
    for (uint32_t i = 0; i < limit && *link; ++i) link = &(*link)->next;
    deleteList(link);
  }
  keepLimit = limit;
}

HRESULT setCacheOptions(const wchar_t* directory, uint32_t limit) {
  char newDirectory[kCachePathSize];
  const HRESULT resolved = resolveDirectory(directory, newDirectory);
  if (FAILED(resolved)) return resolved;
  if (samePath(newDirectory, cacheDirectory)) {
    trimKeptList(limit);
    return S_OK;
  }
  for (CacheEntry* e = inUse; e; e = e->next) moveCopy(cacheDirectory, newDirectory, e);
  CacheEntry** link = &kept;
  for (uint32_t i = 0; i < limit && *link; ++i, link = &(*link)->next) moveCopy(cacheDirectory, newDirectory, *link);
  deleteList(link);
  // Stale copies go now: a renderer that still had one loaded notices that it
  // is gone before its next render, as it does for moved copies.
  deleteList(&stale);
  copyText(cacheDirectory, newDirectory);
  keepLimit = limit;
  return S_OK;
}

void clearMovieCache() {
  RendererLock lock;
  deleteList(&inUse);
  deleteList(&kept);
  deleteList(&stale);
  cacheDirectory[0] = '\0';
  keepLimit = 0;
}
