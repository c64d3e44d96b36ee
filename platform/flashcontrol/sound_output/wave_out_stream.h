// The stand-in control's sound output: the mixer's 44100 Hz 16-bit stereo,
// rendered one tick at a time, queued on the wave mapper in the order it comes.
// No block is ever dropped, since a lost block would move every later sound
// earlier: a block that finds every buffer queued gets a new one. Only far ahead
// of the device (ticks faster than real time) does a write wait for the device
// to give one back. When the device has run dry, a short lead of silence goes
// ahead of the next block, so that ticks coming a little late do not cut the sound.
#pragma once

#include <windows.h>
#include <mmsystem.h>

#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

class WaveOutStream {
 public:
  // About 8 s of movie sound: the most queued before a write waits.
  static constexpr size_t kMaxQueuedBlocks = 256;
  // A device that gives nothing back for this long is taken as stuck: the
  // block is queued anyway rather than lost.
  static constexpr DWORD kStuckDeviceMs = 2000;
  // 20 ms: room for a tick a little late, short enough to keep the sound in step.
  static constexpr size_t kLeadFrames = 882;

  WaveOutStream() = default;
  ~WaveOutStream() { close(); }
  WaveOutStream(const WaveOutStream&) = delete;
  WaveOutStream& operator=(const WaveOutStream&) = delete;

  bool open();
  bool isOpen() const { return device_ != nullptr; }
  // False only without a device or when the device refuses the block.
  bool write(const int16_t* samples, size_t frames);
  // Silence at once: whatever is queued is thrown away.
  void reset();
  void close();
  int queuedBuffers() const;
  // Sample frames the device has played since it was opened or reset.
  uint64_t playedFrames() const;

 private:
  struct Block {
    WAVEHDR header = {};
    std::vector<int16_t> samples;
  };
  Block* freeBlock();
  Block* returnedBlock();
  bool queue(const int16_t* samples, size_t frames);
  void release(Block& block);

  HWAVEOUT device_ = nullptr;
  std::vector<std::unique_ptr<Block>> blocks_;  // stable addresses: the device holds them
};
