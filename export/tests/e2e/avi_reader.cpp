#include "avi_reader.h"

#include <vfw.h>

#include <cstdio>
#include <cstdlib>

#include "host_command.h"

namespace exporttest {

bool ffprobeAvailable() { return audiotest::hostToolAvailable("ffprobe"); }

ProbedVideo probe(const std::string& windowsPath) {
  ProbedVideo video;
  const std::string file = audiotest::hostPath(windowsPath);
  auto out = audiotest::runHostCommand(
      "ffprobe -v error -count_frames -select_streams v:0 -show_entries "
      "stream=width,height,r_frame_rate,nb_read_frames -of csv=p=0 '" +
      file + "'");
  if (!out) return video;
  char rate[32] = "";
  if (std::sscanf(out->c_str(), "%d,%d,%31[0-9/],%d", &video.width, &video.height, rate, &video.frames) != 4)
    return video;
  video.rate = rate;
  video.ok = true;
  auto sound = audiotest::runHostCommand("ffmpeg -v error -i '" + file + "' -map 0:a:0 -f s16le - 2>/dev/null | wc -c");
  if (sound) video.soundBytes = std::strtol(sound->c_str(), nullptr, 10);
  if (video.soundBytes == 0) video.soundBytes = -1;
  return video;
}

long soundHeaderLength(const std::string& windowsPath) {
  auto out = audiotest::runHostCommand(
      "ffprobe -v error -select_streams a:0 -show_entries stream=nb_frames "
      "-of csv=p=0 '" +
      audiotest::hostPath(windowsPath) + "'");
  long length = -1;
  if (!out || std::sscanf(out->c_str(), "%ld", &length) != 1) return -1;
  return length;
}

std::vector<BYTE> soundPrefix(const std::string& windowsPath, int count) {
  std::vector<BYTE> bytes;
  auto out =
      audiotest::runHostCommand("ffmpeg -v error -i '" + audiotest::hostPath(windowsPath) +
                                "' -map 0:a:0 -f s16le - 2>/dev/null | od -An -v -tu1 -N " + std::to_string(count));
  if (!out) return bytes;
  const char* p = out->c_str();
  char* end = nullptr;
  for (long value = std::strtol(p, &end, 10); end != p; value = std::strtol(p, &end, 10)) {
    bytes.push_back(static_cast<BYTE>(value));
    p = end;
  }
  return bytes;
}

AviReader::AviReader(const std::string& path) {
  AVIFileInit();
  if (AVIFileOpenA(&file_, path.c_str(), OF_READ | OF_SHARE_DENY_NONE, nullptr) != AVIERR_OK) {
    file_ = nullptr;
    return;
  }
  if (AVIFileGetStream(file_, &video_, streamtypeVIDEO, 0) != AVIERR_OK) video_ = nullptr;
  LONG size = sizeof format_;
  if (video_ && AVIStreamReadFormat(video_, 0, &format_, &size) != AVIERR_OK) format_ = {};
}

AviReader::~AviReader() {
  if (decoder_) AVIStreamGetFrameClose(decoder_);
  if (video_) AVIStreamRelease(video_);
  if (file_) AVIFileRelease(file_);
  AVIFileExit();
}

LONG AviReader::frames() const { return video_ ? AVIStreamLength(video_) : -1; }

std::vector<int> AviReader::keyFrames() const {
  std::vector<int> keys;
  for (LONG k = 0; k < frames(); ++k)
    if (AVIStreamIsKeyFrame(video_, k)) keys.push_back(k);
  return keys;
}

std::vector<BYTE> AviReader::chunk(LONG frame) const {
  if (!video_) return {};
  LONG bytes = 0;
  if (AVIStreamRead(video_, frame, 1, nullptr, 0, &bytes, nullptr) != AVIERR_OK || bytes <= 0) return {};
  std::vector<BYTE> stored(static_cast<size_t>(bytes));
  if (AVIStreamRead(video_, frame, 1, stored.data(), bytes, &bytes, nullptr) != AVIERR_OK) return {};
  stored.resize(static_cast<size_t>(bytes));
  return stored;
}

namespace {

// The colour at (x, y) from the top of 24-bit bottom-up rows; CLR_INVALID outside them.
COLORREF bottomUpPixel(const BYTE* bits, size_t size, LONG width, LONG height, int x, int y) {
  if (x < 0 || y < 0 || x >= width || y >= height) return CLR_INVALID;
  const size_t stride = ((width * 3) + 3) & ~3L;
  const size_t at = static_cast<size_t>(height - 1 - y) * stride + x * 3;
  if (at + 3 > size) return CLR_INVALID;
  return RGB(bits[at + 2], bits[at + 1], bits[at]);
}

}  // namespace

COLORREF AviReader::pixel(LONG frame, int x, int y) const {
  if (format_.biBitCount != 24 || format_.biCompression != BI_RGB) return CLR_INVALID;
  const std::vector<BYTE> bits = chunk(frame);
  return bottomUpPixel(bits.data(), bits.size(), format_.biWidth, format_.biHeight, x, y);
}

COLORREF AviReader::decodedPixel(LONG frame, int x, int y) {
  if (video_ && !decoder_) {
    BITMAPINFOHEADER wanted{};
    wanted.biSize = sizeof wanted;
    wanted.biWidth = format_.biWidth;
    wanted.biHeight = format_.biHeight;
    wanted.biPlanes = 1;
    wanted.biBitCount = 24;
    wanted.biCompression = BI_RGB;
    decoder_ = AVIStreamGetFrameOpen(video_, &wanted);
  }
  if (!decoder_) return CLR_INVALID;
  const auto* header = static_cast<const BITMAPINFOHEADER*>(AVIStreamGetFrame(decoder_, frame));
  if (!header) return CLR_INVALID;
  const BYTE* bits = reinterpret_cast<const BYTE*>(header) + header->biSize;
  const size_t size = static_cast<size_t>(((header->biWidth * 3) + 3) & ~3L) * header->biHeight;
  return bottomUpPixel(bits, size, header->biWidth, header->biHeight, x, y);
}

}  // namespace exporttest
