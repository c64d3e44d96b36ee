// The stand-in control's sound output: the mixer's 44100 Hz 16-bit stereo,
// rendered one tick at a time, queued on the wave mapper in the order it comes.
// It never waits for the device: a block that finds every buffer still queued
// is dropped. When the device has run dry, a short lead of silence goes ahead of
// the next block, so that ticks coming a little late do not cut the sound.
#pragma once

#include <windows.h>
#include <mmsystem.h>

#include <cstddef>
#include <cstdint>
#include <vector>

class WaveOutStream {
 public:
  static constexpr int kBufferCount = 32;
  // 20 ms: room for a tick a little late, short enough to keep the sound in step.
  static constexpr size_t kLeadFrames = 882;

  WaveOutStream() = default;
  ~WaveOutStream() { close(); }
  WaveOutStream(const WaveOutStream&) = delete;
  WaveOutStream& operator=(const WaveOutStream&) = delete;

  bool open();
  bool isOpen() const { return device_ != nullptr; }
  // False when the block was dropped (no device, or the device is that far behind).
  bool write(const int16_t* samples, size_t frames);
  // Silence at once: whatever is queued is thrown away.
  void reset();
  void close();
  int queuedBuffers() const;

 private:
  struct Block {
    WAVEHDR header = {};
    std::vector<int16_t> samples;
  };
  Block* freeBlock();
  bool queue(const int16_t* samples, size_t frames);
  void release(Block& block);

  HWAVEOUT device_ = nullptr;
  Block blocks_[kBufferCount];
};
