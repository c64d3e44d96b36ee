// The name of a continuation file: everything from the path's last "." is
// replaced by the file number as four digits and ".avi" (clip.avi -> clip0003.avi).
#pragma once

#include <string>

std::string numberedFileName(const std::string& path, unsigned number);

// Deletes path's numbered files from number 0000 on, up to the first one missing.
void deleteNumberedFiles(const std::string& path);
