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
  if (video_) AVIStreamRelease(video_);
  if (file_) AVIFileRelease(file_);
  AVIFileExit();
}

LONG AviReader::frames() const { return video_ ? AVIStreamLength(video_) : -1; }

COLORREF AviReader::pixel(LONG frame, int x, int y) {
  if (!video_ || format_.biBitCount != 24 || x < 0 || y < 0 || x >= format_.biWidth || y >= format_.biHeight)
    return CLR_INVALID;
  const LONG stride = ((format_.biWidth * 3) + 3) & ~3L;
  std::vector<BYTE> bits(static_cast<size_t>(stride) * format_.biHeight);
  LONG read = 0;
  if (AVIStreamRead(video_, frame, 1, bits.data(), static_cast<LONG>(bits.size()), &read, nullptr) != AVIERR_OK)
    return CLR_INVALID;
  const BYTE* p = bits.data() + static_cast<size_t>(format_.biHeight - 1 - y) * stride + x * 3;
  return RGB(p[2], p[1], p[0]);
}

}  // namespace exporttest
