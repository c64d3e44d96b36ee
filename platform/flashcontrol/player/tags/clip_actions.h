// CLIPACTIONS of PlaceObject2/3: the onClipEvent handlers of a placed clip.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "../read/swf_reader.h"

namespace swf {

// Event bits as version 6 and later store them (earlier movies' 16 bits
// are the low half).
enum ClipEvent : uint32_t {
  ClipLoad = 0x1,
  ClipEnterFrame = 0x2,
  ClipUnload = 0x4,
  ClipMouseMove = 0x8,
  ClipMouseDown = 0x10,
  ClipMouseUp = 0x20,
  ClipKeyDown = 0x40,
  ClipKeyUp = 0x80,
  ClipData = 0x100,
  ClipInitialize = 0x200,
  ClipConstruct = 0x40000,
};

struct ClipActionRecord {
  uint32_t events = 0;
  uint8_t keyCode = 0;
  const uint8_t* code = nullptr;  // into the movie's body
  size_t size = 0;
};

// Reads the records up to their end marker; what does not fit ends them.
void readClipActions(SwfReader& r, int swfVersion, std::vector<ClipActionRecord>& out);

}  // namespace swf
