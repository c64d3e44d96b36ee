// Reads back what an export wrote: through ffprobe (the host's, as a player
// sees the file) and through the AVI file services (pixels and sound bytes).
#pragma once

#include <windows.h>
#include <mmsystem.h>
#include <vfw.h>

#include <string>
#include <vector>

namespace exporttest {

struct ProbedVideo {
  bool ok = false;
  int width = 0, height = 0, frames = 0;
  std::string rate;      // as ffprobe gives it, e.g. "30000/1001"
  long soundBytes = -1;  // decoded sound, -1 without a sound stream
};

bool ffprobeAvailable();
ProbedVideo probe(const std::string& windowsPath);
// The length the sound stream's header gives, in sample frames, as ffprobe
// reads it (nb_frames, the header's dwLength); -1 without a sound stream.
long soundHeaderLength(const std::string& windowsPath);
// The first count bytes of the decoded sound track (fewer when it is shorter).
std::vector<BYTE> soundPrefix(const std::string& windowsPath, int count);

class AviReader {
 public:
  explicit AviReader(const std::string& path);
  ~AviReader();
  AviReader(const AviReader&) = delete;
  AviReader& operator=(const AviReader&) = delete;

  bool ok() const { return video_ != nullptr; }
  LONG frames() const;
  // The frames the file's index marks as key frames.
  std::vector<int> keyFrames() const;
  // The video chunk of a frame as stored (empty when unreadable).
  std::vector<BYTE> chunk(LONG frame) const;
  // The colour at (x, y) from the top of an uncompressed frame; CLR_INVALID when unreadable.
  COLORREF pixel(LONG frame, int x, int y) const;
  // The same of any frame, decoded to 24 bits through the installed decompressor.
  COLORREF decodedPixel(LONG frame, int x, int y);

 private:
  PAVIFILE file_ = nullptr;
  PAVISTREAM video_ = nullptr;
  PGETFRAME decoder_ = nullptr;
  BITMAPINFOHEADER format_ = {};
};

}  // namespace exporttest
