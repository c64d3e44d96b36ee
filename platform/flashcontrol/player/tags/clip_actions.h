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
  kClipLoad = 0x1,
  kClipEnterFrame = 0x2,
  kClipUnload = 0x4,
  kClipMouseMove = 0x8,
  kClipMouseDown = 0x10,
  kClipMouseUp = 0x20,
  kClipKeyDown = 0x40,
  kClipKeyUp = 0x80,
  kClipData = 0x100,
  kClipInitialize = 0x200,
  kClipConstruct = 0x40000,
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
