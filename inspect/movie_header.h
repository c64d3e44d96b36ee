// The two SWF header readers: readMovieHeader for the converter (plain or compressed
// movies, stage size in whole pixels) and readExpandedMovieHeader for the importer's
// renderer (plain movies only, with version and background colour).
#pragma once

#include <cstdint>

struct MovieHeaderInfo {
  int32_t widthPixels;
  int32_t heightPixels;
  double frameRate;
  int32_t frameCount;
};

struct ExpandedMovieHeader {
  int32_t version;
  double width;  // pixels, unrounded
  double height;
  int32_t frameCount;
  double frameRate;
  uint32_t backgroundColor;  // 0x00BBGGRR; left as it was when the movie sets none
};

// 0 on success, -1 on any failure (the outputs are then not to be relied on).
int readMovieHeader(const char* path, int32_t* widthPixels, int32_t* heightPixels, double* frameRate,
                    int32_t* frameCount);

// 0, or kRendererEMovieOpen, kRendererEMovieEmpty, kRendererEMovieInvalid.
int32_t readExpandedMovieHeader(const char* path, ExpandedMovieHeader& header);
