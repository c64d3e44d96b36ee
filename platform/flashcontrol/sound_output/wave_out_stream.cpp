#include "wave_out_stream.h"

#include <algorithm>
#include <cmath>

namespace {

const WAVEFORMATEX kMixFormat = {WAVE_FORMAT_PCM, 2, 44100, 176400, 4, 16, 0};

}  // namespace

bool WaveOutStream::open() {
  if (device_) return true;
  if (waveOutOpen(&device_, WAVE_MAPPER, &kMixFormat, 0, 0, CALLBACK_NULL) != MMSYSERR_NOERROR) {
    device_ = nullptr;
    return false;
  }
  return true;
}

void WaveOutStream::release(Block& block) {
  if (block.header.dwFlags & WHDR_PREPARED) waveOutUnprepareHeader(device_, &block.header, sizeof block.header);
  block.header = {};
}

// A buffer the device has given back (or never had).
WaveOutStream::Block* WaveOutStream::returnedBlock() {
  for (const std::unique_ptr<Block>& block : blocks_) {
    const DWORD flags = block->header.dwFlags;
    if (!(flags & WHDR_PREPARED) || (flags & WHDR_DONE)) {
      release(*block);
      return block.get();
    }
  }
  return nullptr;
}

WaveOutStream::Block* WaveOutStream::freeBlock() {
  Block* block = returnedBlock();
  if (block) return block;
  // Far ahead of the device: let it play some first, as real time would.
  if (blocks_.size() >= kMaxQueuedBlocks) {
    for (DWORD waited = 0; !block && waited < kStuckDeviceMs; waited += 5) {
      Sleep(5);
      block = returnedBlock();
    }
    if (block) return block;
  }
  blocks_.push_back(std::make_unique<Block>());
  return blocks_.back().get();
}

bool WaveOutStream::write(const int16_t* samples, size_t frames) {
  if (!device_ || !samples || frames == 0) return false;
  if (queuedBuffers() == 0) {
    anchor();
    const std::vector<int16_t> lead(2 * kLeadFrames, 0);
    queue(lead.data(), kLeadFrames);
  } else {
    keepInStep();
  }
  if (toMakeUp_ != 0 && frames >= kCatchUpDivisor) {
    const size_t kept = catchUp(samples, frames);
    return queue(caughtUp_.data(), kept);
  }
  return queue(samples, frames);
}

// The block played a little faster (or slower, when ahead): linear interpolation
// over fewer (or more) frames.
size_t WaveOutStream::catchUp(const int16_t* samples, size_t frames) {
  const int64_t most = static_cast<int64_t>(frames / kCatchUpDivisor);
  const int64_t left = std::clamp(toMakeUp_, -most, most);
  const size_t kept = static_cast<size_t>(static_cast<int64_t>(frames) - left);
  toMakeUp_ -= left;
  madeUp_ += left;
  caughtUp_.resize(2 * kept);
  const double stride = kept > 1 ? double(frames - 1) / double(kept - 1) : 0;
  for (size_t i = 0; i < kept; ++i) {
    const double at = i * stride;
    const size_t k = std::min(static_cast<size_t>(at), frames - 1);
    const size_t next = std::min(k + 1, frames - 1);
    const double weight = at - double(k);
    for (size_t c = 0; c < 2; ++c) {
      const double value = samples[2 * k + c] * (1 - weight) + samples[2 * next + c] * weight;
      caughtUp_[2 * i + c] = static_cast<int16_t>(std::lround(value));
    }
  }
  return kept;
}

void WaveOutStream::anchor() {
  anchorMs_ = timeGetTime();
  anchorPlayed_ = playedFrames();
  madeUp_ = 0;
  toMakeUp_ = 0;
  steps_.restart();
}

void WaveOutStream::keepInStep() {
  const int64_t clock =
      static_cast<int64_t>(static_cast<DWORD>(timeGetTime() - anchorMs_)) * kMixFormat.nSamplesPerSec / 1000;
  // Counted as made up already: what is still to be left out is on its way.
  const int64_t position = static_cast<int64_t>(playedFrames() - anchorPlayed_) + madeUp_ + toMakeUp_;
  const int64_t behind = steps_.observe(clock, position);
  toMakeUp_ += behind;
}

bool WaveOutStream::queue(const int16_t* samples, size_t frames) {
  Block* block = freeBlock();
  block->samples.assign(samples, samples + 2 * frames);
  block->header.lpData = reinterpret_cast<LPSTR>(block->samples.data());
  block->header.dwBufferLength = static_cast<DWORD>(block->samples.size() * sizeof(int16_t));
  if (waveOutPrepareHeader(device_, &block->header, sizeof block->header) != MMSYSERR_NOERROR) {
    block->header = {};
    return false;
  }
  if (waveOutWrite(device_, &block->header, sizeof block->header) != MMSYSERR_NOERROR) {
    release(*block);
    return false;
  }
  return true;
}

int WaveOutStream::queuedBuffers() const {
  int queued = 0;
  for (const std::unique_ptr<Block>& block : blocks_) {
    const DWORD flags = block->header.dwFlags;
    if ((flags & WHDR_PREPARED) && !(flags & WHDR_DONE)) ++queued;
  }
  return queued;
}

uint64_t WaveOutStream::playedFrames() const {
  MMTIME time = {};
  time.wType = TIME_SAMPLES;
  if (!device_ || waveOutGetPosition(device_, &time, sizeof time) != MMSYSERR_NOERROR) return 0;
  if (time.wType == TIME_BYTES) return time.u.cb / 4;
  return time.wType == TIME_SAMPLES ? time.u.sample : 0;
}

void WaveOutStream::reset() {
  if (!device_) return;
  waveOutReset(device_);
  for (const std::unique_ptr<Block>& block : blocks_) release(*block);
}

void WaveOutStream::close() {
  if (!device_) return;
  reset();
  waveOutClose(device_);
  device_ = nullptr;
}
