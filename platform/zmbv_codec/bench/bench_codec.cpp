// bench codec: writing 150 frames of 550 x 400 animation (flat shapes and a
// photo-like bitmap moving over a still background with a gradient) through the AVI file services with
// the ZMBV compressor (key frame every 15, default quality, as the program sets
// it), against writing them uncompressed; each the best of three. ratio = ZMBV
// frames a second / uncompressed frames a second; size = ZMBV file bytes /
// uncompressed file bytes. Then the same with quality 10000 (zlib level 9), and
// reading the ZMBV file back through its decompressor (AVIStreamGetFrame).
#include <windows.h>
#include <vfw.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

namespace {

constexpr int kWidth = 550, kHeight = 400, kFrames = 150;
constexpr size_t kStride = (kWidth * 3 + 3) & ~3;
const DWORD kZmbv = mmioFOURCC('Z', 'M', 'B', 'V');

using Clock = std::chrono::steady_clock;
using Frame = std::vector<BYTE>;

void fillRect(Frame& frame, int left, int top, int width, int height, COLORREF colour) {
  for (int y = std::max(top, 0); y < std::min(top + height, kHeight); ++y) {
    BYTE* row = frame.data() + (kHeight - 1 - y) * kStride;
    for (int x = std::max(left, 0); x < std::min(left + width, kWidth); ++x) {
      row[3 * x] = GetBValue(colour);
      row[3 * x + 1] = GetGValue(colour);
      row[3 * x + 2] = GetRValue(colour);
    }
  }
}

// A 120 x 90 bitmap of noisy colour, drawn with its top left at (left, top).
void drawPhoto(Frame& frame, int left, int top) {
  static std::vector<COLORREF> photo;
  if (photo.empty()) {
    unsigned seed = 12345;
    for (int i = 0; i < 120 * 90; ++i) {
      seed = seed * 1103515245u + 12345u;
      const int shade = (i % 120) + static_cast<int>((seed >> 16) % 40);
      photo.push_back(RGB(shade, shade / 2 + (i / 120), 200 - shade / 2));
    }
  }
  for (int y = 0; y < 90; ++y)
    for (int x = 0; x < 120; ++x) fillRect(frame, left + x, top + y, 1, 1, photo[y * 120 + x]);
}

std::vector<Frame> animation() {
  Frame background(kStride * kHeight);
  for (int y = 0; y < kHeight; ++y) fillRect(background, 0, y, kWidth, 1, RGB(40 + y / 4, 90 + y / 8, 200 - y / 3));
  fillRect(background, 0, 330, kWidth, 70, RGB(60, 140, 50));
  std::vector<Frame> frames;
  for (int k = 0; k < kFrames; ++k) {
    Frame frame = background;
    fillRect(frame, 20 + 3 * k, 280, 60, 50, RGB(200, 30, 30));
    fillRect(frame, 500 - 2 * k, 60 + k / 3, 30, 30, RGB(250, 220, 40));
    fillRect(frame, 100 + (k * 7) % 400, 150, 12, 90, RGB(20, 20, 20));
    fillRect(frame, 250, 200 + (k % 40), 80, 20 + k % 10, RGB(240, 240, 240));
    drawPhoto(frame, 400 - 2 * k, 180 + k / 5);
    frames.push_back(std::move(frame));
  }
  return frames;
}

BITMAPINFOHEADER frameFormat() {
  BITMAPINFOHEADER format{};
  format.biSize = sizeof format;
  format.biWidth = kWidth;
  format.biHeight = kHeight;
  format.biPlanes = 1;
  format.biBitCount = 24;
  format.biCompression = BI_RGB;
  format.biSizeImage = static_cast<DWORD>(kStride * kHeight);
  return format;
}

// Seconds to write the frames with the handler, or a negative value on failure.
double writeSeconds(const std::string& path, const std::vector<Frame>& frames, DWORD handler, DWORD quality) {
  DeleteFileA(path.c_str());
  const auto start = Clock::now();
  PAVIFILE file = nullptr;
  PAVISTREAM stream = nullptr, compressed = nullptr;
  bool ok = AVIFileOpenA(&file, path.c_str(), OF_CREATE | OF_WRITE, nullptr) == AVIERR_OK;
  AVISTREAMINFOA info{};
  info.fccType = streamtypeVIDEO;
  info.dwScale = 1;
  info.dwRate = 25;
  info.rcFrame = {0, 0, kWidth, kHeight};
  AVICOMPRESSOPTIONS options{};
  options.fccType = streamtypeVIDEO;
  options.fccHandler = handler;
  options.dwKeyFrameEvery = 15;
  options.dwQuality = quality;
  options.dwFlags = AVICOMPRESSF_VALID | AVICOMPRESSF_KEYFRAMES;
  BITMAPINFOHEADER format = frameFormat();
  ok = ok && AVIFileCreateStreamA(file, &stream, &info) == AVIERR_OK &&
       AVIMakeCompressedStream(&compressed, stream, &options, nullptr) == AVIERR_OK &&
       AVIStreamSetFormat(compressed, 0, &format, sizeof format) == AVIERR_OK;
  for (int k = 0; ok && k < kFrames; ++k)
    ok = AVIStreamWrite(compressed, k, 1, const_cast<BYTE*>(frames[k].data()), format.biSizeImage, 0, nullptr,
                        nullptr) == AVIERR_OK;
  if (compressed) AVIStreamRelease(compressed);
  if (stream) AVIStreamRelease(stream);
  if (file) AVIFileRelease(file);
  return ok ? std::chrono::duration<double>(Clock::now() - start).count() : -1;
}

// Seconds to decode every frame in order; negative on failure or a wrong frame.
double readSeconds(const std::string& path, const std::vector<Frame>& frames) {
  const auto start = Clock::now();
  PAVISTREAM stream = nullptr;
  bool ok = AVIStreamOpenFromFileA(&stream, path.c_str(), streamtypeVIDEO, 0, OF_READ, nullptr) == AVIERR_OK;
  BITMAPINFOHEADER wanted = frameFormat();
  PGETFRAME reader = ok ? AVIStreamGetFrameOpen(stream, &wanted) : nullptr;
  ok = reader != nullptr;
  for (int k = 0; ok && k < kFrames; ++k) {
    const auto* header = static_cast<const BITMAPINFOHEADER*>(AVIStreamGetFrame(reader, k));
    ok = header &&
         std::equal(frames[k].begin(), frames[k].end(), reinterpret_cast<const BYTE*>(header) + header->biSize);
  }
  if (reader) AVIStreamGetFrameClose(reader);
  if (stream) AVIStreamRelease(stream);
  return ok ? std::chrono::duration<double>(Clock::now() - start).count() : -1;
}

double fileBytes(const std::string& path) {
  WIN32_FILE_ATTRIBUTE_DATA data{};
  if (!GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data)) return -1;
  return static_cast<double>(data.nFileSizeLow) + 4294967296.0 * data.nFileSizeHigh;
}

template <class Run>
double best(Run&& run) {
  double seconds = 1e9;
  for (int i = 0; i < 3; ++i) {
    const double s = run();
    if (s < 0) return -1;
    seconds = std::min(seconds, s);
  }
  return seconds;
}

}  // namespace

int main() {
  char folder[MAX_PATH];
  GetTempPathA(MAX_PATH, folder);
  const std::string plain = std::string(folder) + "mvq-bench-codec-plain.avi";
  const std::string zmbv = std::string(folder) + "mvq-bench-codec-zmbv.avi";
  const std::string zmbv9 = std::string(folder) + "mvq-bench-codec-zmbv9.avi";
  const std::vector<Frame> frames = animation();
  AVIFileInit();
  const double plainSeconds = best([&] { return writeSeconds(plain, frames, mmioFOURCC('D', 'I', 'B', ' '), 0); });
  const double zmbvSeconds =
      best([&] { return writeSeconds(zmbv, frames, kZmbv, static_cast<DWORD>(ICQUALITY_DEFAULT)); });
  const double zmbv9Seconds = best([&] { return writeSeconds(zmbv9, frames, kZmbv, ICQUALITY_HIGH); });
  const double readBack = best([&] { return readSeconds(zmbv, frames); });
  const double plainSize = fileBytes(plain), zmbvSize = fileBytes(zmbv), zmbv9Size = fileBytes(zmbv9);
  AVIFileExit();
  DeleteFileA(plain.c_str());
  DeleteFileA(zmbv.c_str());
  DeleteFileA(zmbv9.c_str());
  if (plainSeconds <= 0 || zmbvSeconds <= 0 || zmbv9Seconds <= 0 || readBack <= 0) {
    std::fprintf(stderr, "bench codec: a write or the read-back failed (is the ZMBV codec installed?)\n");
    return 1;
  }
  std::printf(
      "bench codec ratio=%.3f size=%.4f level9_ratio=%.3f level9_size=%.4f zmbv_fps=%.1f plain_fps=%.1f "
      "decode_fps=%.1f (%dx%d, %d frames)\n",
      plainSeconds / zmbvSeconds, zmbvSize / plainSize, plainSeconds / zmbv9Seconds, zmbv9Size / plainSize,
      kFrames / zmbvSeconds, kFrames / plainSeconds, kFrames / readBack, kWidth, kHeight, kFrames);
  return 0;
}
