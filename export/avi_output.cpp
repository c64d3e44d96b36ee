#include "avi_output.h"

#include "avi_stream_length.h"
#include "export_ids.h"

namespace {

// Full Frames: no compressor, every picture stands alone. A real compressor's
// delta frames marked as key frames would break seeking in every player.
bool writesWholePictures(DWORD handler) {
  return handler == 0 || (handler | 0x20202020) == mmioFOURCC('d', 'i', 'b', ' ');
}

AVISTREAMINFOA videoHeader(const AviOutputFormat& format) {
  AVISTREAMINFOA info = {};
  info.fccType = streamtypeVIDEO;
  info.dwScale = format.videoScale;
  info.dwRate = format.videoRate;
  info.dwSuggestedBufferSize = format.frame.biSizeImage;
  SetRect(&info.rcFrame, 0, 0, format.frame.biWidth, format.frame.biHeight);
  return info;
}

AVICOMPRESSOPTIONS compressOptions(const COMPVARS& record) {
  AVICOMPRESSOPTIONS options = {};
  options.fccType = record.fccType;
  options.fccHandler = record.fccHandler;
  options.dwKeyFrameEvery = static_cast<DWORD>(record.lKey);
  options.dwQuality = static_cast<DWORD>(record.lQ);
  options.dwBytesPerSecond = static_cast<DWORD>(record.lDataRate) * 1024;
  options.dwFlags = AVICOMPRESSF_VALID;
  if (record.lKey) options.dwFlags |= AVICOMPRESSF_KEYFRAMES;
  if (record.lDataRate) options.dwFlags |= AVICOMPRESSF_DATARATE;
  options.lpParms = record.lpState;
  options.cbParms = static_cast<DWORD>(record.cbState);
  return options;
}

AVISTREAMINFOA soundHeader(const WAVEFORMATEX& sound, LONG frameRate100) {
  AVISTREAMINFOA info = {};
  info.fccType = streamtypeAUDIO;
  info.dwScale = sound.nBlockAlign;
  info.dwRate = sound.nAvgBytesPerSec;
  // The AVI file services take a stream's length as samples already written and
  // refuse to write at 0 after it; the length is set when the file is closed.
  // The frames of 0.75 s, rounded to nearest.
  info.dwInitialFrames = static_cast<DWORD>((static_cast<int64_t>(frameRate100) * 3 + 200) / 400);
  info.dwQuality = 10000;
  info.dwSampleSize = sound.nBlockAlign;
  return info;
}

// Each chunk costs its RIFF header and an index entry; the headers, the index
// list and the file services' write buffer need the rest.
constexpr uint64_t kChunkOverhead = 8 + 16;
constexpr uint64_t kCloseReserve = 64 * 1024;

uint64_t fileSize(const std::string& path) {
  WIN32_FILE_ATTRIBUTE_DATA data;
  if (!GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data)) return 0;
  return (static_cast<uint64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
}

std::string folderOf(const std::string& path) {
  const size_t slash = path.find_last_of("\\/");
  return slash == std::string::npos ? std::string(".\\") : path.substr(0, slash + 1);
}

}  // namespace

UINT AviOutput::open(const char* path, const AviOutputFormat& format, bool withSound) {
  path_ = path;
  dataBytes_ = chunks_ = 0;
  soundCreated_ = false;
  soundFrames_ = 0;
  AVIFileInit();
  if (!hasRoomFor(0) || AVIFileOpenA(&file_, path, OF_CREATE | OF_WRITE, nullptr) != AVIERR_OK) {
    file_ = nullptr;
    AVIFileExit();
    return IDS_OPEN_AVI_FAILED;
  }
  AVISTREAMINFOA video = videoHeader(format);
  if (AVIFileCreateStreamA(file_, &video_, &video) != AVIERR_OK) return IDS_CREATE_STREAM_FAILED;
  AVICOMPRESSOPTIONS options = compressOptions(*format.compressor);
  frameFlags_ = writesWholePictures(format.compressor->fccHandler) ? AVIIF_KEYFRAME : 0;
  if (AVIMakeCompressedStream(&compressed_, video_, &options, nullptr) != AVIERR_OK)
    return IDS_COMPRESSED_STREAM_FAILED;
  BITMAPINFOHEADER frame = format.frame;
  if (AVIStreamSetFormat(compressed_, 0, &frame, sizeof frame) != AVIERR_OK) return IDS_SET_FORMAT_FAILED;
  return withSound ? createSoundStream(format) : 0;
}

UINT AviOutput::createSoundStream(const AviOutputFormat& format) {
  AVISTREAMINFOA info = soundHeader(*format.sound, format.frameRate100ForSound);
  if (AVIFileCreateStreamA(file_, &sound_, &info) != AVIERR_OK) {
    sound_ = nullptr;
    return IDS_CREATE_STREAM_FAILED;
  }
  soundCreated_ = true;
  // The plain 18-byte header, without extra format bytes.
  WAVEFORMATEX head = *format.sound;
  head.cbSize = 0;
  if (AVIStreamSetFormat(sound_, 0, &head, sizeof head) != AVIERR_OK) return IDS_SET_FORMAT_FAILED;
  return 0;
}

bool AviOutput::hasRoomFor(LONG size) const {
  ULARGE_INTEGER free;
  if (!GetDiskFreeSpaceExA(folderOf(path_).c_str(), &free, nullptr, nullptr)) return true;
  const uint64_t needed = static_cast<uint64_t>(size) + (chunks_ + 1) * kChunkOverhead + kCloseReserve;
  return free.QuadPart >= needed;
}

HRESULT AviOutput::write(PAVISTREAM stream, LONG start, LONG samples, const void* data, LONG size, DWORD flags,
                         LONG* bytes) {
  if (!stream) return AVIERR_BADHANDLE;
  if (!hasRoomFor(size)) return AVIERR_FILEWRITE;
  LONG written = 0;
  const HRESULT result =
      AVIStreamWrite(stream, start, samples, const_cast<void*>(data), size, flags, nullptr, &written);
  *bytes += written;
  if (SUCCEEDED(result)) {
    dataBytes_ += static_cast<uint64_t>(written);
    ++chunks_;
  }
  return result;
}

HRESULT AviOutput::writeFrame(LONG index, const void* bits, LONG size, LONG* bytes) {
  return write(compressed_, index, 1, bits, size, frameFlags_, bytes);
}

HRESULT AviOutput::writeSound(const void* data, LONG samples, LONG size, LONG* bytes) {
  // Sound is only ever appended; the AVI file services count a sound stream's
  // length in blocks written and refuse a sample position after the first block.
  const HRESULT result = write(sound_, -1, samples, data, size, 0, bytes);
  if (SUCCEEDED(result)) soundFrames_ += static_cast<uint64_t>(samples);
  return result;
}

bool AviOutput::close() {
  if (sound_) AVIStreamRelease(sound_);
  if (compressed_) AVIStreamRelease(compressed_);
  if (video_) AVIStreamRelease(video_);
  sound_ = compressed_ = video_ = nullptr;
  if (!file_) return true;
  AVIFileRelease(file_);
  file_ = nullptr;
  AVIFileExit();
  if (soundCreated_) setSoundStreamLength(path_.c_str(), static_cast<uint32_t>(soundFrames_));
  soundCreated_ = false;
  // The release writes the headers and the index; it reports nothing of it.
  return fileSize(path_) >= dataBytes_ + chunks_ * kChunkOverhead;
}
