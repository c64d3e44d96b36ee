// Expands a zlib-compressed movie (CWS) into the equivalent plain movie (FWS).
#pragma once

// 0: the source is already plain (the destination is not touched); 1: the destination
// holds the expanded movie; -1: failure (a partly written destination may remain).
int expandCompressedMovie(const char* sourcePath, const char* destinationPath);
