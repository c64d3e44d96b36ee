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
  ~AviOutput() { close(); }
  AviOutput(const AviOutput&) = delete;
  AviOutput& operator=(const AviOutput&) = delete;

  // 0 on success, else the id of the failure's message; withSound false leaves
  // the sound stream out.
  UINT open(const char* path, const AviOutputFormat& format, bool withSound);
  UINT createSoundStream(const AviOutputFormat& format);
  // The written byte count is added to *bytes.
  HRESULT writeFrame(LONG index, const void* bits, LONG size, LONG* bytes);
  // Appended after the sound written so far.
  HRESULT writeSound(const void* data, LONG samples, LONG size, LONG* bytes);
  bool hasSound() const { return sound_ != nullptr; }
  bool isOpen() const { return file_ != nullptr; }
  // False when the file on disk came out shorter than the data written to it.
  // The sound stream's header then gives the sample frames written to this file.
  bool close();

 private:
  // Under Wine the AVI file services report neither a failed write nor a failed
  // close (their buffered file writes drop what does not fit), so a write that
  // the disk cannot hold, with the index and header still to come, is refused
  // before it is made.
  bool hasRoomFor(LONG size) const;
  HRESULT write(PAVISTREAM stream, LONG start, LONG samples, const void* data, LONG size, DWORD flags, LONG* bytes);

  std::string path_;
  uint64_t dataBytes_ = 0;
  uint64_t chunks_ = 0;
  PAVIFILE file_ = nullptr;
  PAVISTREAM video_ = nullptr;
  PAVISTREAM compressed_ = nullptr;
  PAVISTREAM sound_ = nullptr;
  // Whole pictures are each a key frame; a compressor's stream marks its own.
  DWORD frameFlags_ = AVIIF_KEYFRAME;
  bool soundCreated_ = false;
  uint64_t soundFrames_ = 0;  // sample frames written to the sound stream
};
