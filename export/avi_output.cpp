#include "avi_output.h"

#include "avi_stream_length.h"
#include "export_ids.h"

namespace {

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

}  // namespace

UINT AviOutput::Open(const char* path, const AviOutputFormat& format, bool withSound) {
  path_ = path;
  soundCreated_ = false;
  soundFrames_ = 0;
  AVIFileInit();
  if (AVIFileOpenA(&file_, path, OF_CREATE | OF_WRITE, nullptr) != AVIERR_OK) {
    file_ = nullptr;
    AVIFileExit();
    return IDS_OPEN_AVI_FAILED;
  }
  AVISTREAMINFOA video = videoHeader(format);
  if (AVIFileCreateStreamA(file_, &video_, &video) != AVIERR_OK) return IDS_CREATE_STREAM_FAILED;
  AVICOMPRESSOPTIONS options = compressOptions(*format.compressor);
  if (AVIMakeCompressedStream(&compressed_, video_, &options, nullptr) != AVIERR_OK)
    return IDS_COMPRESSED_STREAM_FAILED;
  BITMAPINFOHEADER frame = format.frame;
  if (AVIStreamSetFormat(compressed_, 0, &frame, sizeof frame) != AVIERR_OK) return IDS_SET_FORMAT_FAILED;
  return withSound ? CreateSoundStream(format) : 0;
}

UINT AviOutput::CreateSoundStream(const AviOutputFormat& format) {
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

HRESULT AviOutput::WriteFrame(LONG index, const void* bits, LONG size, LONG* bytes) {
  LONG written = 0;
  const HRESULT result = AVIStreamWrite(compressed_, index, 1, const_cast<void*>(bits), size,
                                        AVIIF_KEYFRAME, nullptr, &written);
  *bytes += written;
  return result;
}

HRESULT AviOutput::WriteSound(const void* data, LONG samples, LONG size, LONG* bytes) {
  LONG written = 0;
  // Sound is only ever appended; the AVI file services count a sound stream's
  // length in blocks written and refuse a sample position after the first block.
  const HRESULT result =
      AVIStreamWrite(sound_, -1, samples, const_cast<void*>(data), size, 0, nullptr, &written);
  *bytes += written;
  if (SUCCEEDED(result)) soundFrames_ += static_cast<uint64_t>(samples);
  return result;
}

void AviOutput::Close() {
  if (sound_) AVIStreamRelease(sound_);
  if (compressed_) AVIStreamRelease(compressed_);
  if (video_) AVIStreamRelease(video_);
  sound_ = compressed_ = video_ = nullptr;
  if (file_) {
    AVIFileRelease(file_);
    file_ = nullptr;
    AVIFileExit();
    if (soundCreated_) setSoundStreamLength(path_.c_str(), static_cast<uint32_t>(soundFrames_));
  }
  soundCreated_ = false;
}
