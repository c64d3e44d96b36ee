#include "wav_file.h"

#include <algorithm>
#include <cstring>
#include <new>
#include <vector>

#include "wav_format_chunk.h"

namespace {

constexpr DWORD kPcmFormatBytes = 16;                    // WAVEFORMATEX without cbSize
constexpr DWORD kFullFormatBytes = kWavFormatHeadBytes;  // with cbSize
constexpr DWORD kUnknownFrames = 0xFFFFFFFF;

const FOURCC kWave = mmioFOURCC('W', 'A', 'V', 'E');
const FOURCC kFmt = mmioFOURCC('f', 'm', 't', ' ');
const FOURCC kFact = mmioFOURCC('f', 'a', 'c', 't');
const FOURCC kData = mmioFOURCC('d', 'a', 't', 'a');

DWORD formatBytes(const WAVEFORMATEX& format) {
  return format.wFormatTag == WAVE_FORMAT_PCM ? kPcmFormatBytes : kFullFormatBytes + format.cbSize;
}

bool writeAll(HMMIO file, const void* bytes, LONG count) {
  return mmioWrite(file, static_cast<const char*>(bytes), count) == count;
}

}  // namespace

DWORD wavSampleFrames(DWORD dataSize, const WAVEFORMATEX& format) {
  if (format.nAvgBytesPerSec == 0) return 0;
  const double frames = static_cast<double>(dataSize) / format.nAvgBytesPerSec * format.nSamplesPerSec;
  return frames >= 4294967295.0 ? kUnknownFrames : static_cast<DWORD>(frames);
}

WavFile::~WavFile() {
  if (FAILED(close())) closeFile();
}

const WAVEFORMATEX* WavFile::format() const { return reinterpret_cast<const WAVEFORMATEX*>(format_.get()); }

HRESULT WavFile::open(const char* path, int mode, const WAVEFORMATEX* format) {
  if (FAILED(close())) closeFile();
  format_.reset();
  name_.clear();
  if (!path || std::strlen(path) < 4) return E_INVALIDARG;
  if (mode != ReadMode && mode != WriteMode) return E_INVALIDARG;
  if (mode == WriteMode && !format) return E_INVALIDARG;
  name_ = path;
  mode_ = mode;
  dataSize_ = 0;
  riffChunk_ = {};
  dataChunk_ = {};
  if (mode == WriteMode) {
    const HRESULT kept = keepWriteFormat(*format);
    if (FAILED(kept)) return kept;
  }
  const DWORD flags = mode == ReadMode ? MMIO_READ | MMIO_ALLOCBUF : MMIO_CREATE | MMIO_READWRITE | MMIO_ALLOCBUF;
  file_ = mmioOpenA(const_cast<char*>(path), nullptr, flags);
  if (!file_) return E_FAIL;
  const HRESULT result = mode == ReadMode ? readHeader() : writeHeader();
  if (FAILED(result)) closeFile();
  return result;
}

HRESULT WavFile::keepFormatBytes(const void* bytes, DWORD size) {
  format_.reset(new (std::nothrow) BYTE[size]);
  if (!format_) return E_OUTOFMEMORY;
  std::memcpy(format_.get(), bytes, size);
  return S_OK;
}

// The caller's format for writing; PCM gets its derived fields recomputed.
HRESULT WavFile::keepWriteFormat(const WAVEFORMATEX& format) {
  const bool pcm = format.wFormatTag == WAVE_FORMAT_PCM;
  const HRESULT kept = keepFormatBytes(&format, kFullFormatBytes + (pcm ? 0 : format.cbSize));
  if (FAILED(kept) || !pcm) return kept;
  WAVEFORMATEX& own = *reinterpret_cast<WAVEFORMATEX*>(format_.get());
  own.cbSize = 0;
  own.nBlockAlign = static_cast<WORD>(own.wBitsPerSample * own.nChannels / 8);
  own.nAvgBytesPerSec = own.nBlockAlign * own.nSamplesPerSec;
  return S_OK;
}

HRESULT WavFile::readHeader() {
  if (mmioDescend(file_, &riffChunk_, nullptr, 0) != MMSYSERR_NOERROR) return E_FAIL;
  if (riffChunk_.ckid != FOURCC_RIFF || riffChunk_.fccType != kWave) return E_FAIL;

  MMCKINFO fmt = {};
  fmt.ckid = kFmt;
  if (mmioDescend(file_, &fmt, &riffChunk_, MMIO_FINDCHUNK) != MMSYSERR_NOERROR) return E_FAIL;
  if (fmt.cksize < kPcmFormatBytes) return E_FAIL;
  // Only the chunk's own bytes: a format never reads into the chunk after it.
  const LONG used = static_cast<LONG>(std::min<DWORD>(fmt.cksize, kWavFormatChunkMostUsed));
  std::vector<uint8_t> chunk(used);
  std::vector<uint8_t> format;
  if (mmioRead(file_, reinterpret_cast<HPSTR>(chunk.data()), used) != used) return E_FAIL;
  if (!readWavFormatChunk(chunk.data(), chunk.size(), format)) return E_FAIL;
  const HRESULT kept = keepFormatBytes(format.data(), static_cast<DWORD>(format.size()));
  if (FAILED(kept)) return kept;
  if (mmioAscend(file_, &fmt, 0) != MMSYSERR_NOERROR) return E_FAIL;

  if (mmioSeek(file_, riffChunk_.dwDataOffset + sizeof(FOURCC), SEEK_SET) == -1) return E_FAIL;
  dataChunk_.ckid = kData;
  if (mmioDescend(file_, &dataChunk_, &riffChunk_, MMIO_FINDCHUNK) != MMSYSERR_NOERROR) return E_FAIL;
  dataSize_ = dataChunk_.cksize;
  return S_OK;
}

HRESULT WavFile::writeHeader() {
  riffChunk_.fccType = kWave;
  if (mmioCreateChunk(file_, &riffChunk_, MMIO_CREATERIFF) != MMSYSERR_NOERROR) return E_FAIL;

  MMCKINFO fmt = {};
  fmt.ckid = kFmt;
  fmt.cksize = formatBytes(*format());
  if (mmioCreateChunk(file_, &fmt, 0) != MMSYSERR_NOERROR) return E_FAIL;
  if (!writeAll(file_, format_.get(), fmt.cksize)) return E_FAIL;
  if (mmioAscend(file_, &fmt, 0) != MMSYSERR_NOERROR) return E_FAIL;

  MMCKINFO fact = {};
  fact.ckid = kFact;
  fact.cksize = sizeof(DWORD);
  if (mmioCreateChunk(file_, &fact, 0) != MMSYSERR_NOERROR) return E_FAIL;
  const DWORD unknown = kUnknownFrames;
  if (!writeAll(file_, &unknown, sizeof unknown)) return E_FAIL;
  if (mmioAscend(file_, &fact, 0) != MMSYSERR_NOERROR) return E_FAIL;

  dataChunk_.ckid = kData;
  dataChunk_.cksize = 0;
  if (mmioCreateChunk(file_, &dataChunk_, 0) != MMSYSERR_NOERROR) return E_FAIL;
  return S_OK;
}

HRESULT WavFile::read(void* buffer, DWORD count, DWORD* bytesRead) {
  if (bytesRead) *bytesRead = 0;
  if (!buffer || count == 0) return E_INVALIDARG;
  if (!file_) return E_FAIL;
  const LONG read = mmioRead(file_, static_cast<HPSTR>(buffer), static_cast<LONG>(count));
  if (read < 0) return E_FAIL;
  if (bytesRead) *bytesRead = static_cast<DWORD>(read);
  return S_OK;
}

HRESULT WavFile::write(const void* buffer, DWORD count) {
  if (!file_) return CO_E_NOTINITIALIZED;
  if (!buffer) return E_INVALIDARG;
  mmioWrite(file_, static_cast<const char*>(buffer), static_cast<LONG>(count));
  return S_OK;
}

LONG WavFile::seek(LONG offset, int origin) {
  if (!file_) return -1;
  return mmioSeek(file_, offset, origin);
}

HRESULT WavFile::finishChunks() {
  if (mmioAscend(file_, &dataChunk_, 0) != MMSYSERR_NOERROR) return E_FAIL;
  dataSize_ = dataChunk_.cksize;
  if (mmioAscend(file_, &riffChunk_, 0) != MMSYSERR_NOERROR) return E_FAIL;

  mmioSeek(file_, 0, SEEK_SET);
  MMCKINFO riff = {};
  riff.fccType = kWave;
  if (mmioDescend(file_, &riff, nullptr, MMIO_FINDRIFF) != MMSYSERR_NOERROR) return E_FAIL;
  MMCKINFO fact = {};
  fact.ckid = kFact;
  if (mmioDescend(file_, &fact, &riff, MMIO_FINDCHUNK) == MMSYSERR_NOERROR) {
    const DWORD frames = wavSampleFrames(dataSize_, *format());
    writeAll(file_, &frames, sizeof frames);
    mmioAscend(file_, &fact, 0);
  }
  mmioAscend(file_, &riff, 0);
  return S_OK;
}

HRESULT WavFile::close() {
  if (!file_) return S_OK;
  if (mode_ == WriteMode) {
    const HRESULT finished = finishChunks();
    if (FAILED(finished)) return finished;
  }
  closeFile();
  return S_OK;
}

void WavFile::closeFile() {
  mmioClose(file_, 0);
  file_ = nullptr;
}
