// The order clips play their next frame in: newest first, as the real
// player keeps clips on a list it adds new ones to the front of. Clips made
// during the walk wait for the next tick (they just showed their first frame).
#include <algorithm>

#include "stage.h"

namespace swf {

void Stage::advanceClips(bool loop) {
  std::vector<uint64_t> serials;
  serials.reserve(clips_.size());
  for (const auto& entry : clips_) serials.push_back(entry.first);
  std::sort(serials.begin(), serials.end(), std::greater<uint64_t>());
  for (uint64_t serial : serials) {
    auto it = clips_.find(serial);
    if (it == clips_.end()) continue;
    MovieClip& clip = *it->second;
    if (clip.removed() || clip.createdTick() >= ticks_) continue;
    // Only a root may stop at its last frame instead of looping.
    const bool root = clip.rootTarget() == &clip;
    clip.advance(root ? loop : true);
  }
}

}  // namespace swf
