// Sound objects' sounds: which export they name, when they end on the
// movie clock, and who hears of it. The stage's mixer plays them.
#include <algorithm>

#include "movie_clip.h"
#include "script_host.h"
#include "stage.h"

namespace swf {
namespace {

// Plays that ended are kept for their position up to this many.
constexpr size_t kKeptSounds = 1024;

}  // namespace

MovieClip* ScriptHost::soundOwner(avm1::ActionTarget* owner) { return dynamic_cast<MovieClip*>(owner); }

bool ScriptHost::exportedSound(avm1::ActionTarget* owner, const std::string& name, double* durationMs) {
  MovieClip* clip = soundOwner(owner);
  uint16_t id = 0;
  return stage_.exportedSound(clip ? clip->movie() : stage_.movie(), name, &id, durationMs);
}

uint64_t ScriptHost::startSound(avm1::ActionTarget* owner, const std::string& name, double offsetMs, int loops,
                                avm1::Object* listener) {
  MovieClip* clip = soundOwner(owner);
  const Movie& movie = clip ? clip->movie() : stage_.movie();
  uint16_t id = 0;
  double durationMs = 0;
  if (!stage_.exportedSound(movie, name, &id, &durationMs)) return 0;
  if (sounds_.size() >= kKeptSounds) {
    const auto ended = std::find_if(sounds_.begin(), sounds_.end(), [](const ScriptSound& s) { return s.endMs >= 0; });
    if (ended == sounds_.end()) return 0;
    sounds_.erase(ended);
  }
  stage_.startScriptSound(clip, movie, id, offsetMs, loops);
  ScriptSound sound;
  sound.handle = nextSoundHandle_++;
  sound.owner = clip;
  sound.movie = &movie;
  sound.id = id;
  const double now = movieTimeMs();
  sound.dueMs = now + std::max(0.0, durationMs - offsetMs) * std::max(1, loops);
  sound.listener = listener;
  sounds_.push_back(sound);
  return sound.handle;
}

void ScriptHost::endSound(ScriptSound& sound, double nowMs) {
  sound.endMs = nowMs;
  sound.listener = nullptr;
}

void ScriptHost::stopSounds(avm1::ActionTarget* owner, const std::string& name) {
  MovieClip* clip = soundOwner(owner);
  const double now = movieTimeMs();
  if (!name.empty()) {
    const Movie& movie = clip ? clip->movie() : stage_.movie();
    uint16_t id = 0;
    double durationMs = 0;
    if (!stage_.exportedSound(movie, name, &id, &durationMs)) return;
    stage_.stopSoundId(id);
    for (ScriptSound& s : sounds_) {
      if (s.endMs < 0 && s.movie == &movie && s.id == id) endSound(s, now);
    }
    return;
  }
  if (!clip) {
    stopAllSounds();
    return;
  }
  stage_.stopClipSounds(*clip);
  for (ScriptSound& s : sounds_) {
    if (s.endMs < 0 && s.owner == clip) endSound(s, now);
  }
}

void ScriptHost::stopAllSounds() {
  stage_.stopAllSounds();
  const double now = movieTimeMs();
  for (ScriptSound& s : sounds_) {
    if (s.endMs < 0) endSound(s, now);
  }
}

double ScriptHost::soundEndMs(uint64_t handle) {
  for (const ScriptSound& s : sounds_) {
    if (s.handle == handle) return s.endMs;
  }
  return 0;
}

void ScriptHost::globalSoundTransform(double out[5]) { stage_.globalSoundTransform().toArray(out); }

void ScriptHost::setGlobalSoundTransform(const double in[5]) {
  stage_.setGlobalSoundTransform(MixTransform::fromArray(in));
}

void ScriptHost::runSounds() {
  const double now = movieTimeMs();
  // Listeners may start sounds (growing the list) or stop them.
  for (size_t i = 0; i < sounds_.size() && vm_->tickBudgetLeft(); ++i) {
    if (sounds_[i].endMs >= 0 || sounds_[i].dueMs > now) continue;
    avm1::Object* listener = sounds_[i].listener;
    endSound(sounds_[i], sounds_[i].dueMs);
    if (!listener) continue;
    avm1::Value fn = listener->get("onSoundComplete");
    if (fn.isObject() && fn.object->asFunction()) interpreter_->callFromPlayer(fn, avm1::Value(listener), {});
  }
}

void ScriptHost::soundOwnerGone(const MovieClip* clip) {
  for (ScriptSound& s : sounds_) {
    if (s.owner == clip) s.owner = nullptr;
  }
}

}  // namespace swf
