// ExportAssets: the names under which a movie offers its characters to
// scripts (attachMovie, registerClass).
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace swf {

using ExportList = std::vector<std::pair<uint16_t, std::string>>;

// Appends the (id, name) pairs in tag order; false when the body ends before
// its count says (the pairs read so far are kept).
bool readExportAssets(const uint8_t* body, size_t size, ExportList& out);

}  // namespace swf
