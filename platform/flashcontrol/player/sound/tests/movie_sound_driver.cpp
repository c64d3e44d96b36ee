#include "movie_sound_driver.h"

#include "tags/tag_codes.h"
#include "upsampler.h"

namespace soundtest {
namespace {

constexpr uint16_t kShowFrame = uint16_t(swf::TagCode::ShowFrame);
constexpr uint16_t kDefineSound = uint16_t(swf::TagCode::DefineSound);
constexpr uint16_t kStartSound = uint16_t(swf::TagCode::StartSound);
constexpr uint16_t kSoundStreamHead = uint16_t(swf::TagCode::SoundStreamHead);
constexpr uint16_t kSoundStreamBlock = uint16_t(swf::TagCode::SoundStreamBlock);
constexpr uint16_t kPlaceObject2 = uint16_t(swf::TagCode::PlaceObject2);
constexpr uint16_t kSoundStreamHead2 = uint16_t(swf::TagCode::SoundStreamHead2);

int frameCount(const std::vector<Tag>& tags) {
  int frames = 0;
  for (const Tag& tag : tags) frames += tag.code == kShowFrame ? 1 : 0;
  return frames;
}

}  // namespace

bool MovieSoundDriver::load(const std::vector<uint8_t>& file) {
  mixer_.stopAll();
  library_.clear();
  playheads_.clear();
  if (!readSwfTags(file, &tags_)) return false;
  playheads_.push_back(Playhead{&tags_.root, 0});
  return true;
}

size_t MovieSoundDriver::framesPerTick() const {
  return tags_.frameRate > 0 ? static_cast<size_t>(swf::kMixRate / tags_.frameRate) : swf::kMixRate / 12;
}

void MovieSoundDriver::tick() {
  // Sprites placed during this tick enter their first frame in it too.
  for (size_t i = 0; i < playheads_.size(); ++i) enterFrame(i);
}

// By index: placing a sprite grows the list of playheads.
void MovieSoundDriver::enterFrame(size_t index) {
  const std::vector<Tag>& tags = *playheads_[index].tags;
  if (playheads_[index].next >= tags.size() || tags[playheads_[index].next].code == 0) {
    // A timeline of one frame stays on it; longer ones loop.
    if (frameCount(tags) < 2) return;
    playheads_[index].next = 0;
  }
  while (playheads_[index].next < tags.size()) {
    const Tag& tag = tags[playheads_[index].next++];
    if (tag.code == 0 || tag.code == kShowFrame) break;
    handle(tag, playheads_[index].timeline);
  }
}

void MovieSoundDriver::handle(const Tag& tag, uintptr_t timeline) {
  switch (tag.code) {
    case kDefineSound: library_.define(tag.body, tag.size); break;
    case kStartSound: mixer_.startSound(library_, tag.body, tag.size); break;
    case kSoundStreamHead:
    case kSoundStreamHead2: mixer_.streamHead(timeline, tag.body, tag.size); break;
    case kSoundStreamBlock: mixer_.streamBlock(timeline, tag.body, tag.size); break;
    case kPlaceObject2:
      if (tag.size >= 5 && (tag.body[0] & 0x02)) {
        const uint16_t character = static_cast<uint16_t>(tag.body[3] | tag.body[4] << 8);
        const auto sprite = tags_.sprites.find(character);
        if (sprite != tags_.sprites.end()) {
          playheads_.push_back(Playhead{&sprite->second, uintptr_t(playheads_.size())});
        }
      }
      break;
    default: break;
  }
}

}  // namespace soundtest
