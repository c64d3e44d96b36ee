// The stand-in control's sound output: the mixer's 44100 Hz 16-bit stereo,
// rendered one tick at a time, queued on the wave mapper in the order it comes.
// No block is ever dropped, since a lost block would move every later sound
// earlier: a block that finds every buffer queued gets a new one. Only far ahead
// of the device (ticks faster than real time) does a write wait for the device
// to give one back. When the device has run dry (or starts), a short lead of
// silence goes ahead of the next block, so that ticks coming a little late do not
// cut the sound.
// A device that stalls while it holds sound (a busy system) plays everything after
// it late; the stream notices its position falling behind the clock and plays the
// sound to come a little faster until it has made that up (a little slower when
// the position runs ahead), so that sound stays with the frames.
#pragma once

#include <windows.h>
#include <mmsystem.h>

#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

#include "clock_steps.h"

class WaveOutStream {
 public:
  // About 8 s of movie sound: the most queued before a write waits.
  static constexpr size_t kMaxQueuedBlocks = 256;
  // A device that gives nothing back for this long is taken as stuck: the
  // block is queued anyway rather than lost.
  static constexpr DWORD kStuckDeviceMs = 2000;
  // 20 ms: room for a tick a little late, short enough to keep the sound in step.
  static constexpr size_t kLeadFrames = 882;
  // A stall of 15 ms or more that holds for half a second is made up; the
  // position moves in steps of about 10 ms, so smaller ones are noise.
  static constexpr int64_t kStallFrames = 661;
  static constexpr int64_t kStallSpanFrames = 22050;
  // Made up by playing at most one frame in 16 faster or slower (a brief change
  // of pitch), rather than by leaving out or adding a piece, so that no short
  // sound is lost or cut.
  static constexpr size_t kCatchUpDivisor = 16;

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
  void anchor();
  void keepInStep();
  size_t catchUp(const int16_t* samples, size_t frames);

  // The clock the device should keep from the first block after it ran dry.
  ClockSteps steps_{kStallFrames, kStallSpanFrames};
  DWORD anchorMs_ = 0;
  uint64_t anchorPlayed_ = 0;
  int64_t madeUp_ = 0;    // movie frames made up since the anchor (less than 0: added)
  int64_t toMakeUp_ = 0;  // still to make up
  std::vector<int16_t> caughtUp_;

  HWAVEOUT device_ = nullptr;
  std::vector<std::unique_ptr<Block>> blocks_;  // stable addresses: the device holds them
};
