// One AVI file of an export: its video stream through the chosen compressor and
// an optional sound stream. Failures report the string of their message.
#pragma once

#include <windows.h>
#include <vfw.h>

#include <cstdint>
#include <string>

struct AviOutputFormat {
  BITMAPINFOHEADER frame;
  // The pictures' rate, videoRate / videoScale frames a second.
  DWORD videoRate;
  DWORD videoScale;
  const COMPVARS* compressor;
  const WAVEFORMATEX* sound;  // null: no sound stream
  LONG frameRate100ForSound;
};

class AviOutput {
 public:
  AviOutput() = default;
  ~AviOutput() { Close(); }
  AviOutput(const AviOutput&) = delete;
  AviOutput& operator=(const AviOutput&) = delete;

  // 0 on success, else the id of the failure's message; withSound false leaves
  // the sound stream out.
  UINT Open(const char* path, const AviOutputFormat& format, bool withSound);
  UINT CreateSoundStream(const AviOutputFormat& format);
  // The written byte count is added to *bytes.
  HRESULT WriteFrame(LONG index, const void* bits, LONG size, LONG* bytes);
  // Appended after the sound written so far.
  HRESULT WriteSound(const void* data, LONG samples, LONG size, LONG* bytes);
  bool hasSound() const { return sound_ != nullptr; }
  bool isOpen() const { return file_ != nullptr; }
  // The sound stream's header then gives the sample frames written to this file.
  void Close();

 private:
  PAVIFILE file_ = nullptr;
  PAVISTREAM video_ = nullptr;
  PAVISTREAM compressed_ = nullptr;
  PAVISTREAM sound_ = nullptr;
  std::string path_;
  bool soundCreated_ = false;
  uint64_t soundFrames_ = 0;  // sample frames written to the sound stream
};
