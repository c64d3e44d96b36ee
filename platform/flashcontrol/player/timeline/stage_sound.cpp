// Sounds scripts play and the mixes they set: Sound objects reach these
// through the script host; the mixer plays them.
#include <algorithm>
#include <cmath>

#include "sound_bytes.h"
#include "sound_format.h"
#include "stage.h"

namespace swf {
namespace {

// The id and length of a DefineSound body, from its header alone.
bool soundHeader(const TagBody& body, uint16_t* id, double* durationMs) {
  SoundBytes bytes(body.data, body.size);
  *id = bytes.u16();
  const SoundFormat format = SoundFormat::fromByte(bytes.u8());
  const uint32_t samples = bytes.u32();
  if (bytes.overrun()) return false;
  *durationMs = double(samples) * format.upsampleFactor() * 1000.0 / 44100.0;
  return true;
}

}  // namespace

void MovieClip::soundTransform(double out[5]) { mix_.toArray(out); }

void MovieClip::setSoundTransform(const double in[5]) {
  mix_ = MixTransform::fromArray(in);
  stage_.refreshSoundTransforms();
}

MixTransform Stage::effectiveMix(const MovieClip& clip) const {
  MixTransform mix = clip.mixTransform();
  for (const MovieClip* p = clip.parentClip(); p; p = p->parentClip()) mix = p->mixTransform().after(mix);
  return mix;
}

void Stage::updateOwnerMix(const MovieClip* clip) {
  // Until a script mixes some clip, every owner plays plain.
  if (mixer_ && clip && clipsMixed_) mixer_->setOwnerTransform(reinterpret_cast<uintptr_t>(clip), effectiveMix(*clip));
}

bool Stage::exportedSound(const Movie& movie, const std::string& name, uint16_t* id, double* durationMs) const {
  const uint16_t exported = movie.exportedCharacter(name);
  if (!exported) return false;
  for (const TagBody& body : movie.soundDefinitions()) {
    uint16_t soundId = 0;
    if (soundHeader(body, &soundId, durationMs) && soundId == exported) {
      *id = soundId;
      return true;
    }
  }
  return false;
}

uint64_t Stage::startScriptSound(MovieClip* owner, const Movie& movie, uint16_t id, double offsetMs, int loops) {
  if (!mixer_) return 0;
  const SoundLibrary* library = library_;
  if (&movie != &movie_) {
    std::unique_ptr<SoundLibrary>& loaded = loadedSounds_[&movie];
    if (!loaded) {
      loaded = std::make_unique<SoundLibrary>();
      for (const TagBody& body : movie.soundDefinitions()) loaded->define(body.data, body.size);
    }
    library = loaded.get();
  }
  SoundInfo info;
  info.loopCount = uint16_t(std::max(1, std::min(loops, 65535)));
  if (offsetMs > 0) {
    info.hasInPoint = true;
    // Past a sound's end (a 32-bit sample count at 5512 Hz) starts nothing.
    info.inPoint = uint32_t(std::min(std::floor(offsetMs * 44.1), 4294967295.0));
  }
  updateOwnerMix(owner);
  return mixer_->startSound(library->find(id), info, reinterpret_cast<uintptr_t>(owner));
}

void Stage::stopSoundId(uint16_t id) {
  if (mixer_) mixer_->stopSound(id);
}

void Stage::stopClipSounds(const MovieClip& owner) {
  if (mixer_) mixer_->stopOwner(reinterpret_cast<uintptr_t>(&owner));
}

void Stage::stopAllSounds() {
  if (mixer_) mixer_->stopAll();
  soundsStopped();
}

void Stage::refreshSoundTransforms() {
  clipsMixed_ = true;
  for (const auto& entry : clips_) updateOwnerMix(entry.second);
}

void Stage::setGlobalSoundTransform(const MixTransform& transform) {
  globalSound_ = transform;
  if (mixer_) mixer_->setGlobalTransform(transform);
}

}  // namespace swf
