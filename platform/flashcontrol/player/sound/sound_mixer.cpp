#include "sound_mixer.h"

#include <algorithm>
#include <cmath>

namespace swf {
namespace {

constexpr int kFullLevel = 32768;

// Far above any 16-bit output, yet 32 voices of it still fit an int32 sum.
constexpr double kTransformedLimit = 1 << 24;

int64_t bounded(double v) {
  if (std::isnan(v)) return 0;
  if (v < -kTransformedLimit) return -int64_t(kTransformedLimit);
  if (v > kTransformedLimit) return int64_t(kTransformedLimit);
  return static_cast<int64_t>(v);
}

// Left and right of one frame through a transform.
void transformFrame(const MixTransform& t, int64_t left, int64_t right, int64_t* outLeft, int64_t* outRight) {
  const double l = (double(left) * t.ll + double(right) * t.rl) / 100.0;
  const double r = (double(right) * t.rr + double(left) * t.lr) / 100.0;
  *outLeft = bounded(l * t.volume / 100.0);
  *outRight = bounded(r * t.volume / 100.0);
}

}  // namespace

MixTransform MixTransform::fromArray(const double in[5]) {
  MixTransform t;
  t.volume = in[0];
  t.ll = in[1];
  t.lr = in[2];
  t.rr = in[3];
  t.rl = in[4];
  return t;
}

void MixTransform::toArray(double out[5]) const {
  out[0] = volume;
  out[1] = ll;
  out[2] = lr;
  out[3] = rr;
  out[4] = rl;
}

MixTransform MixTransform::after(const MixTransform& inner) const {
  MixTransform out;
  out.volume = volume * inner.volume / 100;
  // Channel matrices multiply: inner first, then this.
  out.ll = (ll * inner.ll + rl * inner.lr) / 100;
  out.rl = (ll * inner.rl + rl * inner.rr) / 100;
  out.lr = (lr * inner.ll + rr * inner.lr) / 100;
  out.rr = (lr * inner.rl + rr * inner.rr) / 100;
  return out;
}

void SoundMixer::startSound(const SoundLibrary& library, const uint8_t* body, size_t size) {
  StartSoundCommand command;
  if (!parseStartSound(body, size, &command)) return;
  if (command.info.syncStop) {
    stopSound(command.soundId);
    return;
  }
  startSound(library.find(command.soundId), command.info);
}

uint64_t SoundMixer::startSound(std::shared_ptr<const PlayableSound> sound, const SoundInfo& info, uintptr_t owner) {
  if (!sound) return 0;
  if (info.syncStop) {
    stopSound(sound->id);
    return 0;
  }
  if (info.syncNoMultiple && playing(sound->id)) return 0;
  if (voices_.size() >= kMaxEventSounds) return 0;
  Voice voice;
  voice.end = info.hasOutPoint ? std::min<size_t>(info.outPoint, sound->frames()) : sound->frames();
  voice.begin = info.hasInPoint ? std::min<size_t>(info.inPoint, voice.end) : 0;
  if (voice.begin >= voice.end) return 0;
  voice.position = voice.begin;
  voice.loopsLeft = std::max<uint32_t>(info.loopCount, 1);
  voice.envelope = info.envelope;
  voice.sound = std::move(sound);
  voice.owner = owner;
  voice.handle = nextHandle_++;
  voice.transform = ownerTransform(owner);
  voices_.push_back(std::move(voice));
  return voices_.back().handle;
}

MixTransform SoundMixer::ownerTransform(uintptr_t owner) const {
  const auto found = owners_.find(owner);
  return found == owners_.end() ? MixTransform() : found->second;
}

void SoundMixer::stopOwner(uintptr_t owner) {
  voices_.erase(std::remove_if(voices_.begin(), voices_.end(), [owner](const Voice& v) { return v.owner == owner; }),
                voices_.end());
}

bool SoundMixer::voicePlaying(uint64_t handle) const {
  return handle != 0 &&
         std::any_of(voices_.begin(), voices_.end(), [handle](const Voice& v) { return v.handle == handle; });
}

void SoundMixer::setOwnerTransform(uintptr_t owner, const MixTransform& transform) {
  if (transform.identity()) {
    owners_.erase(owner);
  } else {
    owners_[owner] = transform;
  }
  for (Voice& voice : voices_) {
    if (voice.owner == owner) voice.transform = transform;
  }
}

void SoundMixer::releaseOwner(uintptr_t owner) {
  owners_.erase(owner);
  for (Voice& voice : voices_) {
    if (voice.owner == owner) voice.owner = 0;
  }
}

bool SoundMixer::playing(uint16_t id) const {
  return std::any_of(voices_.begin(), voices_.end(), [id](const Voice& v) { return v.sound->id == id; });
}

void SoundMixer::stopSound(uint16_t id) {
  voices_.erase(std::remove_if(voices_.begin(), voices_.end(), [id](const Voice& v) { return v.sound->id == id; }),
                voices_.end());
}

void SoundMixer::streamHead(uintptr_t timeline, const uint8_t* body, size_t size) {
  StreamHead head;
  if (!parseStreamHead(body, size, &head)) return;
  streams_.erase(timeline);
  streams_.emplace(timeline, StreamSound(head, mp3_));
}

void SoundMixer::streamBlock(uintptr_t timeline, const uint8_t* body, size_t size) {
  const auto stream = streams_.find(timeline);
  if (stream != streams_.end()) stream->second.addBlock(body, size);
}

void SoundMixer::endStream(uintptr_t timeline) { streams_.erase(timeline); }

size_t SoundMixer::streamFramesQueued(uintptr_t timeline) const {
  const auto stream = streams_.find(timeline);
  return stream == streams_.end() ? 0 : stream->second.queuedFrames();
}

bool SoundMixer::silent() const {
  return voices_.empty() &&
         std::all_of(streams_.begin(), streams_.end(), [](const auto& s) { return s.second.queuedFrames() == 0; });
}

void SoundMixer::stopAll() {
  voices_.clear();
  streams_.clear();
}

void SoundMixer::applyTransform(const MixTransform& t, int32_t* mix, size_t frames) {
  for (size_t i = 0; i < frames; ++i) {
    int64_t left = 0;
    int64_t right = 0;
    transformFrame(t, mix[2 * i], mix[2 * i + 1], &left, &right);
    mix[2 * i] = static_cast<int32_t>(left);
    mix[2 * i + 1] = static_cast<int32_t>(right);
  }
}

void SoundMixer::envelopeAt(const std::vector<EnvelopePoint>& envelope, size_t position, int* left, int* right) {
  if (envelope.empty()) {
    *left = *right = kFullLevel;
    return;
  }
  size_t next = 0;
  while (next < envelope.size() && envelope[next].position44 <= position) ++next;
  if (next == 0 || next == envelope.size()) {
    const EnvelopePoint& held = envelope[next == 0 ? 0 : next - 1];
    *left = held.left;
    *right = held.right;
    return;
  }
  const EnvelopePoint& a = envelope[next - 1];
  const EnvelopePoint& b = envelope[next];
  const int64_t span = int64_t(b.position44) - a.position44;
  const int64_t into = int64_t(position) - a.position44;
  *left = static_cast<int>(a.left + (int64_t(b.left) - a.left) * into / span);
  *right = static_cast<int>(a.right + (int64_t(b.right) - a.right) * into / span);
}

void SoundMixer::mixVoice(Voice& voice, int32_t* mix, size_t frames) {
  const int16_t* samples = voice.sound->samples.data();
  const bool plain = voice.transform.identity();
  for (size_t i = 0; i < frames && voice.loopsLeft > 0; ++i) {
    int left = kFullLevel;
    int right = kFullLevel;
    envelopeAt(voice.envelope, voice.played, &left, &right);
    int64_t l = int64_t(samples[2 * voice.position]) * left / kFullLevel;
    int64_t r = int64_t(samples[2 * voice.position + 1]) * right / kFullLevel;
    if (!plain) transformFrame(voice.transform, l, r, &l, &r);
    mix[2 * i] += static_cast<int32_t>(l);
    mix[2 * i + 1] += static_cast<int32_t>(r);
    ++voice.played;
    if (++voice.position == voice.end) {
      voice.position = voice.begin;
      --voice.loopsLeft;
    }
  }
}

void SoundMixer::render(int16_t* out, size_t frames) {
  if (!out) return;
  mix_.assign(2 * frames, 0);
  for (Voice& voice : voices_) mixVoice(voice, mix_.data(), frames);
  voices_.erase(std::remove_if(voices_.begin(), voices_.end(), [](const Voice& v) { return v.loopsLeft == 0; }),
                voices_.end());
  for (auto& stream : streams_) {
    const auto owned = owners_.find(stream.first);
    if (owned == owners_.end()) {
      stream.second.mixInto(mix_.data(), frames);
      continue;
    }
    scratch_.assign(2 * frames, 0);
    stream.second.mixInto(scratch_.data(), frames);
    applyTransform(owned->second, scratch_.data(), frames);
    for (size_t i = 0; i < 2 * frames; ++i) mix_[i] += scratch_[i];
  }
  if (!global_.identity()) applyTransform(global_, mix_.data(), frames);
  for (size_t i = 0; i < 2 * frames; ++i) out[i] = static_cast<int16_t>(std::clamp(mix_[i], -32768, 32767));
}

}  // namespace swf
