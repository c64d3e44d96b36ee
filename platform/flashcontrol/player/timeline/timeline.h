// What a timeline (the movie's or a sprite's) holds per frame, in tag order.
#pragma once

#include <cstddef>
#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "../tags/place_object.h"

namespace swf {

struct FrameCommand {
  enum class Kind : uint8_t { Place, Remove };
  Kind kind = Kind::Place;
  uint16_t depth = 0;  // Remove
  PlaceCommand place;  // Place
};

// DoAction bytes; they point into the movie's body, which outlives them.
struct ActionBlock {
  const uint8_t* data = nullptr;
  size_t size = 0;
};

// DoInitAction: a sprite's one-time set-up, run before the frame's actions.
struct InitActionBlock {
  uint16_t spriteId = 0;
  ActionBlock block;
};

// A tag body kept as it is (a sound record), pointing into the movie's body.
struct TagBody {
  const uint8_t* data = nullptr;
  size_t size = 0;
};

// StartSound and SoundStreamBlock of a frame, in tag order.
struct SoundTag {
  enum class Kind : uint8_t { Start, StreamBlock };
  Kind kind = Kind::Start;
  TagBody body;
};

struct Frame {
  std::vector<FrameCommand> commands;
  std::vector<ActionBlock> actions;
  std::vector<InitActionBlock> initActions;
  std::vector<SoundTag> sounds;
};

struct Timeline {
  int frameCount = 1;
  // Frames past the end of this list hold nothing; a movie may declare many
  // more frames than it fills.
  std::vector<Frame> frames;
  std::vector<std::pair<std::string, int>> labels;  // in tag order
  TagBody streamHead;                               // the first SoundStreamHead(2); no data when there is none
  size_t spriteBytes = 0;                           // a sprite's tags as stored (0 for a movie's own timeline)

  const Frame* frame(int index) const {
    return index >= 0 && size_t(index) < frames.size() ? &frames[size_t(index)] : nullptr;
  }
  // The frame of a label, or -1. Labels compare without regard to ASCII case.
  int findLabel(const std::string& name) const;
};

bool sameTextIgnoringCase(const std::string& a, const std::string& b);

}  // namespace swf
