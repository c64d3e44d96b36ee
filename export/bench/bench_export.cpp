// bench export: frames per second of a 200-frame 550 x 400 export through the
// program (Normal, no sound, uncompressed), against writing as many identical
// frames with the AVI file services alone (ratio, the set-up's fixed one-second
// wait left out), each the best of three; then how the time grows to 2000
// frames, and the program's peak working set after each. The ceiling is the
// ratio an export would reach if the control, the tick and the texts cost
// nothing: the write plus the preview's paint and the progress bar's move, the
// window steps every exported frame takes, measured on their own.
#include <windows.h>
#include <mmsystem.h>
#include <psapi.h>
#include <vfw.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

#include "export_ids.h"
#include "program_session.h"
#include "resource_ids.h"
#include "swf_builder.h"
#include "test_files.h"
#include "ui_controls.h"
#include "ui_file_dialog.h"
#include "ui_windows.h"
#include "window_steps_cost.h"

namespace {

constexpr int kWidth = 550, kHeight = 400;
constexpr double kSetUpWait = 1.0;

using Clock = std::chrono::steady_clock;

mvqtest::Bytes movingSquare(int frames) {
  mvqtest::SwfBuilder movie;
  movie.stage(mvqtest::Rect::pixels(kWidth, kHeight)).frameRate(25).background(250, 250, 250);
  movie.defineRectShape(1, mvqtest::Rect::pixels(50, 50), mvqtest::Rgba{200, 30, 30});
  for (int k = 0; k < frames; ++k) {
    const mvqtest::Matrix at = mvqtest::Matrix::translate((k % 500) * 20, 3000);
    if (k == 0)
      movie.placeObject2(1, 1, at);
    else
      movie.moveObject2(1, at);
    movie.showFrame();
  }
  return movie.finish();
}

// Seconds from OK to the progress window's end; negative when it did not run.
double exportSeconds(e2e::ProgramSession& program, const std::string& out, int endFrame) {
  program.command(ID_FILE_CREATE_AVI);
  HWND save = program.waitForDialog("Create AVI File");
  if (!save || !ui::chooseFile(save, out)) return -1;
  HWND settings = program.waitForDialog("AVI Export Setting");
  if (!settings) return -1;
  ui::clickControl(settings, IDC_AUDIO_NONE);
  ui::clickControl(settings, IDC_NORMAL);
  ui::setControlText(settings, IDC_END_FRAME, std::to_string(endFrame));
  const auto start = Clock::now();
  ui::pressButton(settings, IDOK);
  HWND progress = program.waitForDialog("Converting to AVI");
  if (!progress || !ui::waitUntil([&] { return !IsWindow(progress); }, 600000)) return -1;
  return std::chrono::duration<double>(Clock::now() - start).count();
}

double directSeconds(const std::string& out, int frames) {
  BITMAPINFOHEADER format = {sizeof format, kWidth, kHeight, 1, 24, BI_RGB};
  format.biSizeImage = static_cast<DWORD>(((kWidth * 3 + 3) & ~3) * kHeight);
  std::vector<BYTE> pixels(format.biSizeImage, 0x80);
  const auto start = Clock::now();
  AVIFileInit();
  PAVIFILE file = nullptr;
  PAVISTREAM stream = nullptr, compressed = nullptr;
  AVISTREAMINFOA info = {};
  info.fccType = streamtypeVIDEO;
  info.dwScale = 100;
  info.dwRate = 2500;
  info.dwSuggestedBufferSize = format.biSizeImage;
  SetRect(&info.rcFrame, 0, 0, kWidth, kHeight);
  AVICOMPRESSOPTIONS options = {};
  options.fccHandler = mmioFOURCC('D', 'I', 'B', ' ');
  options.dwFlags = AVICOMPRESSF_VALID;
  bool ok = AVIFileOpenA(&file, out.c_str(), OF_CREATE | OF_WRITE, nullptr) == AVIERR_OK &&
            AVIFileCreateStreamA(file, &stream, &info) == AVIERR_OK &&
            AVIMakeCompressedStream(&compressed, stream, &options, nullptr) == AVIERR_OK &&
            AVIStreamSetFormat(compressed, 0, &format, sizeof format) == AVIERR_OK;
  for (int k = 0; ok && k < frames; ++k)
    ok = AVIStreamWrite(compressed, k, 1, pixels.data(), format.biSizeImage, AVIIF_KEYFRAME, nullptr, nullptr) ==
         AVIERR_OK;
  if (compressed) AVIStreamRelease(compressed);
  if (stream) AVIStreamRelease(stream);
  if (file) AVIFileRelease(file);
  AVIFileExit();
  return ok ? std::chrono::duration<double>(Clock::now() - start).count() : -1;
}

double peakMiB(DWORD processId) {
  HANDLE process = OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, processId);
  PROCESS_MEMORY_COUNTERS counters = {sizeof counters};
  const bool ok = process && GetProcessMemoryInfo(process, &counters, sizeof counters);
  if (process) CloseHandle(process);
  return ok ? counters.PeakWorkingSetSize / 1048576.0 : -1;
}

}  // namespace

int main() {
  mvqtest::TempDir work, temp;
  const std::string movie = work.write("square.swf", movingSquare(200));
  e2e::ProgramSession program(work.path(), temp.path());
  if (!program.start() || !program.mainWindow() || !program.openMovie(movie, movie)) {
    std::printf("bench export failed: the program did not open the movie\n");
    return 1;
  }
  double direct = 1e30, peak200 = 0;
  std::vector<double> shorts;
  for (int run = 0; run < 3; ++run) {
    direct = std::min(direct, directSeconds(work.file("direct.avi"), 200));
    DeleteFileA(work.file("direct.avi").c_str());
    shorts.push_back(exportSeconds(program, work.file("e200.avi"), 199));
    peak200 = std::max(peak200, peakMiB(program.processId()));
    DeleteFileA(work.file("e200.avi").c_str());
  }
  std::sort(shorts.begin(), shorts.end());
  // The growth compares single runs of each length, so it takes the middle one.
  const double short200 = shorts[0], typical200 = shorts[1];
  const double long2000 = exportSeconds(program, work.file("e2000.avi"), 1999);
  const double peak2000 = peakMiB(program.processId());
  DeleteFileA(work.file("e2000.avi").c_str());
  program.exitThroughMenu();
  const double windowSteps = windowStepsSeconds(kWidth, kHeight, 200);
  if (direct <= 0 || short200 <= kSetUpWait || long2000 <= kSetUpWait || windowSteps <= 0) {
    std::printf("bench export failed: an export did not run\n");
    return 1;
  }
  const double exportFps = 200 / (short200 - kSetUpWait), directFps = 200 / direct;
  std::printf(
      "bench export ratio=%.2f export_fps=%.1f direct_fps=%.1f ceiling=%.2f window_steps_ms=%.2f "
      "growth_2000_over_200=%.2f (linear: 10) peak_MiB_200=%.1f peak_MiB_2000=%.1f\n",
      exportFps / directFps, exportFps, directFps, direct / (direct + windowSteps), windowSteps * 1e3 / 200,
      (long2000 - kSetUpWait) / (typical200 - kSetUpWait), peak200, peak2000);
  return 0;
}
