// Reads a PlaceObject3 FILTERLIST.
#pragma once

#include "../read/swf_reader.h"
#include "filter.h"

namespace swf {

// False when the list is cut short or names an unknown filter; out then
// holds the filters read whole before that.
bool parseFilterList(SwfReader& r, FilterList& out);

}  // namespace swf
