// A RIFF WAVE file read and written through the system's buffered multimedia file
// services. Written files get a "fact" chunk with the sample frame count and their
// chunk sizes fixed up when they are closed.
#pragma once

#include <windows.h>
#include <mmsystem.h>

#include <memory>
#include <string>

class WavFile {
 public:
  enum Mode { ReadMode = 1, WriteMode = 2 };

  WavFile() = default;
  ~WavFile();
  WavFile(const WavFile&) = delete;
  WavFile& operator=(const WavFile&) = delete;

  // ReadMode opens an existing file and leaves the position at its sound data;
  // WriteMode creates (or truncates) the file with format, which is required then.
  HRESULT open(const char* path, int mode, const WAVEFORMATEX* format = nullptr);
  // Reads on from the current position; chunks after "data" read as sound too.
  HRESULT read(void* buffer, DWORD count, DWORD* bytesRead);
  HRESULT write(const void* buffer, DWORD count);
  LONG seek(LONG offset, int origin);
  HRESULT close();

  DWORD dataSize() const { return dataSize_; }
  const WAVEFORMATEX* format() const;
  bool isOpen() const { return file_ != nullptr; }
  const std::string& name() const { return name_; }

 private:
  HRESULT readHeader();
  HRESULT writeHeader();
  HRESULT finishChunks();
  HRESULT keepFormatBytes(const void* bytes, DWORD size);
  HRESULT keepWriteFormat(const WAVEFORMATEX& format);
  void closeFile();

  HMMIO file_ = nullptr;
  std::unique_ptr<BYTE[]> format_;  // a WAVEFORMATEX of 18 + cbSize bytes
  int mode_ = 0;
  MMCKINFO riffChunk_ = {};
  MMCKINFO dataChunk_ = {};
  DWORD dataSize_ = 0;
  std::string name_;
};

// The sample frames that dataSize bytes of format hold, as the "fact" chunk counts them.
DWORD wavSampleFrames(DWORD dataSize, const WAVEFORMATEX& format);
