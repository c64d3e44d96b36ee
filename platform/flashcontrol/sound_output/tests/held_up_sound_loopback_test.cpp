// The wave output written on a steady schedule, as the control's ticks write it,
// recorded from the PulseAudio loopback while the process is held up or stops
// writing for a while: a mark once a second must sound where the schedule puts it.
#include <gtest/gtest.h>

#include <windows.h>
#include <tlhelp32.h>

#include <cmath>
#include <cstdlib>
#include <string>
#include <vector>

#include "loopback_recording.h"
#include "tone.h"

namespace {

constexpr double kFps = 30;
constexpr int kSeconds = 6;
constexpr int kMarkFrames = 1323;  // 30 ms of 1000 Hz at the start of each second

// Every other thread of this process stopped for ms milliseconds, as a busy
// machine stops a process: Wine's own sound threads with the rest.
void holdUpProcess(DWORD ms) {
  std::vector<HANDLE> threads;
  HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPTHREAD, 0);
  THREADENTRY32 entry = {};
  entry.dwSize = sizeof entry;
  for (BOOL more = Thread32First(snapshot, &entry); more; more = Thread32Next(snapshot, &entry)) {
    if (entry.th32OwnerProcessID != GetCurrentProcessId() || entry.th32ThreadID == GetCurrentThreadId()) continue;
    if (HANDLE thread = OpenThread(THREAD_SUSPEND_RESUME, FALSE, entry.th32ThreadID)) threads.push_back(thread);
  }
  CloseHandle(snapshot);
  for (HANDLE thread : threads) SuspendThread(thread);
  Sleep(ms);
  for (HANDLE thread : threads) ResumeThread(thread);
  for (HANDLE thread : threads) CloseHandle(thread);
}

class HeldUpSoundUnderLoopback : public LoopbackRecording {
 protected:
  // One block a frame at its due time; nothing is written in [silentFrom,
  // silentUntil) seconds, and the process is held up holdMs at holdAt seconds.
  void playMarks(double silentFrom, double silentUntil, double holdAt, DWORD holdMs) {
    const DWORD start = timeGetTime();
    bool held = false;
    for (int frame = 0; frame < kSeconds * kFps; ++frame) {
      const double at = frame / kFps;
      if (!held && holdAt >= 0 && at >= holdAt) {
        held = true;
        holdUpProcess(holdMs);
      }
      const DWORD due = start + static_cast<DWORD>(std::lround(at * 1000));
      const DWORD now = timeGetTime();
      if (static_cast<int>(due - now) > 0) Sleep(due - now);
      if (at >= silentFrom && at < silentUntil) continue;
      std::vector<int16_t> block = blockOf(frame);
      output_.write(block.data(), block.size() / 2);
    }
    for (int waited = 0; output_.queuedBuffers() > 0 && waited < 5000; waited += 10) Sleep(10);
  }

  // Where each second's mark begins in the recording, in ms after the first.
  std::vector<double> markTimes() {
    const std::vector<int16_t> samples = stopRecording();
    std::vector<int16_t> left;
    for (size_t i = 0; i < samples.size(); i += 2) left.push_back(samples[i]);
    const std::vector<size_t> onsets = audiotest::soundOnsets(left, 3000, 13230);
    std::vector<double> times;
    if (onsets.empty()) return times;
    for (size_t onset : onsets) times.push_back((double(onset) - double(onsets[0])) * 1000.0 / 44100);
    return times;
  }

  static std::vector<int16_t> blockOf(int frame) {
    const size_t begin = static_cast<size_t>(std::lround(frame * 44100 / kFps));
    const size_t end = static_cast<size_t>(std::lround((frame + 1) * 44100 / kFps));
    std::vector<int16_t> block(2 * (end - begin), 0);
    if (frame % static_cast<int>(kFps) == 0) {
      const std::vector<int16_t> mark = audiotest::stereoTone(1000, 12000, kMarkFrames);
      std::copy(mark.begin(), mark.end(), block.begin());
    }
    return block;
  }

  // Every mark written is heard, each within a frame of its second (measured
  // from the first mark), from second firstChecked on.
  static void expectMarksInStep(const std::vector<double>& times, const std::vector<int>& seconds, int firstChecked) {
    ASSERT_EQ(seconds.size(), times.size()) << "a mark was lost";
    for (size_t i = 0; i < seconds.size(); ++i) {
      if (seconds[i] < firstChecked) continue;
      EXPECT_NEAR(seconds[i] * 1000.0, times[i], 1000.0 / kFps) << "the mark of second " << seconds[i];
    }
  }
};

// Sound queued in time stays in time: a sound card would have played it.
TEST_F(HeldUpSoundUnderLoopback, AHoldUpWithSoundQueuedMovesNoLaterMark) {
  playMarks(-1, -1, 2.5, 80);
  expectMarksInStep(markTimes(), {0, 1, 2, 3, 4, 5}, 3);
}

// Held up longer than the sound in hand: what was due meanwhile is lost, as on a
// sound card, but the recording, which waited on the server, loses nothing, so
// every later mark is where it belongs.
TEST_F(HeldUpSoundUnderLoopback, ALongHoldUpLosesNoRecordedSound) {
  playMarks(-1, -1, 2.5, 300);
  expectMarksInStep(markTimes(), {0, 1, 2, 3, 4, 5}, 3);
}

// A program that stopped writing (a paused movie) is heard again at once, not
// dropped against the time that passed.
TEST_F(HeldUpSoundUnderLoopback, SoundAfterAPauseInWritingIsHeardInFull) {
  playMarks(2.2, 3.9, -1, 0);
  expectMarksInStep(markTimes(), {0, 1, 2, 4, 5}, 4);
}

}  // namespace
