// Mixes what a movie plays into 44100 Hz 16-bit stereo: event sounds started by
// StartSound (main timeline or any movie clip) and one streaming sound per
// timeline, fed a block per frame. The player feeds it as frames are entered;
// the output side pulls render() at the pace the movie's ticks come.
#pragma once

#include <cstddef>
#include <cstdint>
#include <map>
#include <memory>
#include <vector>

#include "mp3_decoder.h"
#include "sound_info.h"
#include "sound_library.h"
#include "stream_sound.h"

namespace swf {

// A volume and channel mix in percent, as scripts set them on a clip (or on
// the whole movie): left out = (left * ll + right * rl) / 100, right out =
// (right * rr + left * lr) / 100, both then scaled by volume / 100.
struct MixTransform {
  double volume = 100;
  double ll = 100, lr = 0, rr = 100, rl = 0;
  bool identity() const { return volume == 100 && ll == 100 && lr == 0 && rr == 100 && rl == 0; }
  // This transform applied after inner (a clip's mix inside its parent's).
  MixTransform after(const MixTransform& inner) const;
  // As scripts hand it over: volume, ll, lr, rr, rl.
  static MixTransform fromArray(const double in[5]);
  void toArray(double out[5]) const;
};

class SoundMixer {
 public:
  // Sounds playing at once beyond this are not started.
  static constexpr size_t kMaxEventSounds = 32;

  explicit SoundMixer(Mp3DecoderFactory* mp3 = nullptr) : mp3_(mp3) {}

  // A StartSound body, its sound looked up in library.
  void startSound(const SoundLibrary& library, const uint8_t* body, size_t size);
  // owner names who started it (a clip's address, 0 for the movie); the
  // owner's transform applies. Returns the voice's handle (from 1), 0 when
  // nothing started.
  uint64_t startSound(std::shared_ptr<const PlayableSound> sound, const SoundInfo& info, uintptr_t owner = 0);
  void stopSound(uint16_t id);
  // Every event sound owner started.
  void stopOwner(uintptr_t owner);
  bool voicePlaying(uint64_t handle) const;

  // The mix of everything an owner (event sounds and its stream) plays; the
  // identity forgets it. The global one applies to the whole output.
  void setOwnerTransform(uintptr_t owner, const MixTransform& transform);
  void setGlobalTransform(const MixTransform& transform) { global_ = transform; }
  const MixTransform& globalTransform() const { return global_; }
  // The owner leaves: its sounds play on with the mix they had, no longer
  // named by it (another clip may come to the same address).
  void releaseOwner(uintptr_t owner);

  // Streaming sound of one timeline; timeline is any value naming it (the
  // clip's address, 0 for the main timeline). A new head replaces the stream.
  void streamHead(uintptr_t timeline, const uint8_t* body, size_t size);
  void streamBlock(uintptr_t timeline, const uint8_t* body, size_t size);
  void endStream(uintptr_t timeline);

  // Writes frames stereo frames (2 * frames samples); silence where nothing plays.
  void render(int16_t* out, size_t frames);
  // Stop, Rewind, a new movie: everything ends at once.
  void stopAll();

  size_t eventSoundsPlaying() const { return voices_.size(); }
  size_t streamFramesQueued(uintptr_t timeline) const;
  bool silent() const;

 private:
  struct Voice {
    std::shared_ptr<const PlayableSound> sound;
    size_t begin = 0;     // first frame of each loop
    size_t end = 0;       // one past the last
    size_t position = 0;  // next frame
    uint32_t loopsLeft = 1;
    size_t played = 0;  // frames since the start, for the envelope
    std::vector<EnvelopePoint> envelope;
    uintptr_t owner = 0;
    uint64_t handle = 0;
    MixTransform transform;
  };
  bool playing(uint16_t id) const;
  static void mixVoice(Voice& voice, int32_t* mix, size_t frames);
  static void applyTransform(const MixTransform& t, int32_t* mix, size_t frames);
  MixTransform ownerTransform(uintptr_t owner) const;
  static void envelopeAt(const std::vector<EnvelopePoint>& envelope, size_t position, int* left, int* right);

  Mp3DecoderFactory* mp3_;
  std::vector<Voice> voices_;
  std::map<uintptr_t, StreamSound> streams_;
  std::vector<int32_t> mix_;
  std::vector<int32_t> scratch_;
  std::map<uintptr_t, MixTransform> owners_;
  MixTransform global_;
  uint64_t nextHandle_ = 1;
};

}  // namespace swf
