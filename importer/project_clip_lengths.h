// Clip lengths saved in the editor's project file. A clip described without
// its settings takes the length the user chose and the editor saved; the
// file's path comes from the file-open interception. Portable (stdio only).
//
// Project text relied on: a line with "[FILE]" opens a clip; the second line
// after it holds "param=" and the clip's settings bytes in decimal (the first
// four are the little-endian maxLength); a later "[FNAM]" line is followed by
// "fname=" and the clip's path. Keys are expected at the start of their line.
#pragma once

#include <cstddef>
#include <cstdint>

constexpr size_t kProjectPathSize = 260;
constexpr size_t kProjectLineSize = 10240;

struct ProjectClipRecord {
  char path[kProjectPathSize];  // runs of backslashes reduced to one
  int32_t savedLength;
  ProjectClipRecord* next;
};

// Written by the interception when the editor opens a project (ANSI).
extern char projectFilePath[kProjectPathSize];

// Appends a record for every movie clip of the file at projectFilePath.
void readProjectClipRecords();
// The first record for fileName (any letter case), unlinked and freed: its
// length, or 0 when there is none.
int32_t takeSavedClipLength(const char* fileName);
void discardProjectClipRecords();
// The records in file order, for looking at.
const ProjectClipRecord* projectClipRecords();
