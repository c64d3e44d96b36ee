// bench record: the sound-card recorder's CPU time per recorded second, and the
// delay from the stand-in control's first played sound (the tick whose block
// first holds sound, handed to the wave output; the device opens then) to that
// sound's place in the recording, over ten runs. Runs under Wine with the PulseAudio loopback (./moviquill bench record).
#include <windows.h>
#include <mmsystem.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "movie_sound_driver.h"
#include "sound_card_recorder.h"
#include "swf_builder.h"
#include "test_files.h"
#include "ticked_sound_output.h"
#include "wav_samples.h"

namespace {

const WAVEFORMATEX kCd = {WAVE_FORMAT_PCM, 2, 44100, 176400, 4, 16, 0};
constexpr int kRuns = 10;
constexpr DWORD kCpuRecordingMs = 5000;
constexpr int kLoud = 2000;

double processCpuSeconds() {
  FILETIME created, exited, kernel, user;
  GetProcessTimes(GetCurrentProcess(), &created, &exited, &kernel, &user);
  const auto seconds = [](const FILETIME& t) { return (uint64_t(t.dwHighDateTime) << 32 | t.dwLowDateTime) / 1e7; };
  return seconds(kernel) + seconds(user);
}

// CPU seconds per recorded second while the recorder alone runs.
double recorderCpuPerSecond(const mvqtest::TempDir& dir) {
  SoundCardRecorder recorder;
  const std::string path = dir.file("cpu.wav");
  if (FAILED(recorder.open(path.c_str(), &kCd))) return -1;
  const double before = processCpuSeconds();
  if (FAILED(recorder.start(0, nullptr))) return -1;
  Sleep(kCpuRecordingMs);
  if (FAILED(recorder.stop())) return -1;
  const double cpu = processCpuSeconds() - before;
  const double recordedSeconds = recorder.recordedBytes() / double(kCd.nAvgBytesPerSec);
  recorder.close();
  return recordedSeconds > 0 ? cpu / recordedSeconds : -1;
}

mvqtest::Bytes streamingToneMovie() {
  mvqtest::PcmFormat format;
  format.stereo = true;
  std::vector<int16_t> block(2 * 3675);
  for (size_t i = 0; i < block.size(); ++i) block[i] = (i / 2) % 44 < 22 ? 10000 : -10000;  // ~1 kHz square
  mvqtest::SwfBuilder movie;
  movie.frameRate(12).soundStreamHead(format, 3675, true);
  for (int f = 0; f < 6; ++f) movie.soundStreamBlock(format, block).showFrame();
  return movie.finish();
}

// Milliseconds from the first block handed to the output to its first loud frame in the recording.
double playToRecordingDelayMs(const mvqtest::TempDir& dir, const mvqtest::Bytes& movie) {
  const std::string path = dir.file("delay.wav");
  SoundCardRecorder recorder;
  soundtest::MovieSoundDriver driver;
  if (!driver.load(movie) || FAILED(recorder.open(path.c_str(), &kCd))) return -1;
  TickedSoundOutput sound(driver.mixer());
  sound.startMovie(driver.frameRate());
  if (FAILED(recorder.start(0, nullptr))) return -1;
  const DWORD recordingStart = timeGetTime();
  Sleep(300);
  DWORD firstPlayed = 0;
  const DWORD start = timeGetTime();
  for (int tick = 0; tick < 6; ++tick) {
    const DWORD due = start + static_cast<DWORD>(tick * 1000 / driver.frameRate());
    const DWORD now = timeGetTime();
    if (int(due - now) > 0) Sleep(due - now);
    driver.tick();
    if (tick == 0) firstPlayed = timeGetTime();
    sound.tick();
  }
  for (int waited = 0; sound.queuedBlocks() > 0 && waited < 5000; waited += 10) Sleep(10);
  Sleep(200);
  recorder.stop();
  recorder.close();
  const std::vector<int16_t> samples = audiotest::wavSamples(path);
  for (size_t i = 0; i < samples.size(); ++i) {
    if (std::abs(samples[i]) > kLoud) return recordingStart + (i / 2) * 1000.0 / 44100 - double(firstPlayed);
  }
  return -1;
}

}  // namespace

int main() {
  if (waveInGetNumDevs() == 0 || waveOutGetNumDevs() == 0) {
    std::fprintf(stderr, "bench-record: no wave devices (is the PulseAudio loopback running?)\n");
    return 1;
  }
  timeBeginPeriod(1);
  mvqtest::TempDir dir;
  const double cpuPerSecond = recorderCpuPerSecond(dir);
  const mvqtest::Bytes movie = streamingToneMovie();
  std::vector<double> delays;
  for (int run = 0; run < kRuns; ++run) {
    const double delay = playToRecordingDelayMs(dir, movie);
    if (delay < 0) {
      std::fprintf(stderr, "bench-record: run %d found no sound in the recording\n", run + 1);
      return 1;
    }
    delays.push_back(delay);
  }
  timeEndPeriod(1);
  if (cpuPerSecond < 0) {
    std::fprintf(stderr, "bench-record: the recording failed\n");
    return 1;
  }
  std::sort(delays.begin(), delays.end());
  const double median = (delays[kRuns / 2 - 1] + delays[kRuns / 2]) / 2;
  std::printf(
      "bench record ratio=%.4f cpu_ms_per_recorded_s=%.1f delay_median_ms=%.1f delay_worst_ms=%.1f "
      "delay_best_ms=%.1f runs=%d\n",
      cpuPerSecond, cpuPerSecond * 1000, median, delays.back(), delays.front(), kRuns);
  return 0;
}
