// The running movie: the root clip, the frame action queue and the limits
// that keep hostile movies bounded.
#pragma once

#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <string>
#include <memory>
#include <set>
#include <utility>
#include <unordered_map>
#include <vector>

#include "movie.h"
#include "movie_clip.h"
#include "movie_loads.h"
#include "script_host.h"
#include "sound_library.h"
#include "sound_mixer.h"

namespace swf {

// Sprites placing sprites stop instantiating below this nesting depth.
constexpr int kMaxClipNesting = 64;
// Live display objects of all clips together; placements beyond are ignored.
constexpr size_t kMaxDisplayObjects = 20000;
// Action blocks one tick may run; gotos that keep queueing each other end here.
constexpr int kMaxActionBlocksPerTick = 2000;
// Frames that jumps of one tick may replay to rebuild display lists.
constexpr int kMaxSeekFramesPerTick = 1 << 20;

class Stage {
 public:
  // Without a mixer the movie plays silently.
  // trace() lines go to traceSink (from the first frame's actions on).
  // Movies and data files its scripts load are read through files (none without).
  explicit Stage(const Movie& movie, SoundMixer* mixer = nullptr, const SoundLibrary* library = nullptr,
                 std::function<void(const std::string&)> traceSink = nullptr, MovieFileSource files = nullptr);
  ~Stage();

  const Movie& movie() const { return movie_; }
  MovieClip& root() { return *root_; }
  const MovieClip& root() const { return *root_; }
  uint64_t tickCount() const { return ticks_; }
  ScriptHost& scripts() { return *scripts_; }
  // Movies scripts load (movie_loads.h) and the levels above _level0.
  MovieLoads& loads() { return *loads_; }
  MovieClip* level(int n);
  // _level0 and every level above it, bottom first: what the stage shows.
  std::vector<const MovieClip*> levelsShown() const;
  // The loaded movie's root becomes _levelN (replacing what was there).
  MovieClip* placeLevel(int n, const Movie& movie, const std::string& url);
  void unloadLevel(int n);
  MovieClip* clipBySerial(uint64_t serial);
  // The number of the next unnamed instance ("instanceN").
  int nextInstanceNumber() { return ++instanceNumber_; }

  // One timer tick: every clip's next frame (newest clip first), then actions.
  void tick(bool loop);
  // A call from outside (a goto, a rewind): fresh limits for the work it starts.
  void resetBudgets();
  // Runs queued frame actions (after gotos from outside as well).
  void runActions();
  void advanceClips(bool loop);

  // Bookkeeping for clips.
  uint64_t registerClip(MovieClip* clip);
  void unregisterClip(uint64_t serial);
  void queueActions(const MovieClip& clip, const Frame& frame);
  // Clip events: a new clip's initialize (before the frame's actions) and
  // load (after them); a removed clip's unload.
  void queueEvent(MovieClip& clip, uint32_t event);
  // A clip a loaded movie filled hears its load event before that movie's
  // first actions.
  void queueLoadBeforeActions(MovieClip& clip);
  // A removed clip is kept until the actions running now have finished.
  void retire(std::unique_ptr<MovieClip> clip);
  bool reserveObject();
  void releaseObject();
  // False when this tick's jumps have replayed enough frames already.
  bool chargeSeek(int frames);

  // Sound of the clips, keyed by the clip's address: a frame's StartSounds
  // and stream blocks as it is entered (frames a jump skips play nothing).
  void playFrameSounds(MovieClip& clip, const Frame& frame);
  // The clip's timeline's stream begins again from its head (if it has one).
  void startStream(MovieClip& clip);
  void endStream(const MovieClip& clip);
  // Everything the mixer played was stopped from outside; streams begin
  // again with the next block they play.
  void soundsStopped() { ++soundEpoch_; }

  // Script sounds (stage_sound.cpp). The sound exported as name from movie:
  // its id and length in ms, false when it is none.
  bool exportedSound(const Movie& movie, const std::string& name, uint16_t* id, double* durationMs) const;
  // An event sound a script starts for owner (nullptr: the movie); the
  // mixer's handle, 0 when it does not play (no mixer, too many).
  uint64_t startScriptSound(MovieClip* owner, const Movie& movie, uint16_t id, double offsetMs, int loops);
  // Sound.stop: a sound wherever it plays, or what a clip started.
  void stopSoundId(uint16_t id);
  void stopClipSounds(const MovieClip& owner);
  // StopSounds: streams too, which begin again with their next block.
  void stopAllSounds();
  // A clip's mix changed: every clip's sounds mix by its own transform
  // within its parents'.
  void refreshSoundTransforms();
  void setGlobalSoundTransform(const MixTransform& transform);
  MixTransform effectiveMix(const MovieClip& clip) const;
  const MixTransform& globalSoundTransform() const { return globalSound_; }

 private:
  struct QueuedBlock {
    uint64_t clip;
    ActionBlock block;
  };
  struct QueuedEvent {
    uint64_t clip;
    avm1::Object* object;  // unload events outlive their clip's place
    uint32_t event;
    std::shared_ptr<const std::vector<ClipActionRecord>> actions;
  };
  bool runNextQueued();
  bool runQueuedBlock(std::deque<QueuedBlock>& blocks);
  // enterFrame of every clip, children before parents, the highest depth first.
  void dispatchEnterFrame(MovieClip& clip);
  // The mixer's transform for what clip plays, brought up to date.
  void updateOwnerMix(const MovieClip* clip);

  const Movie& movie_;
  SoundMixer* mixer_;
  const SoundLibrary* library_;
  uint64_t soundEpoch_ = 1;
  MixTransform globalSound_;
  bool clipsMixed_ = false;
  // Sounds of loaded movies, decoded when a script first plays one.
  mutable std::map<const Movie*, std::unique_ptr<SoundLibrary>> loadedSounds_;
  uint64_t ticks_ = 0;
  uint64_t nextSerial_ = 1;
  size_t liveObjects_ = 0;
  int seekFramesLeft_ = 0;
  std::unordered_map<uint64_t, MovieClip*> clips_;
  int instanceNumber_ = 0;
  // Sprites whose init actions ran, by movie: loaded movies reuse ids.
  std::set<std::pair<const Movie*, uint16_t>> initialized_;
  std::deque<QueuedBlock> queue_;
  std::deque<QueuedBlock> initActions_;
  std::deque<QueuedEvent> initEvents_;
  std::deque<QueuedEvent> constructEvents_;
  std::deque<QueuedEvent> loadEvents_;
  std::vector<std::unique_ptr<MovieClip>> retired_;
  std::unique_ptr<ScriptHost> scripts_;  // outlives the clips, whose objects it holds
  std::unique_ptr<MovieLoads> loads_;    // outlives the clips of the movies it loaded
  std::unique_ptr<MovieClip> root_;
  std::map<int, std::unique_ptr<MovieClip>> levels_;  // _level1 and up
};

}  // namespace swf
