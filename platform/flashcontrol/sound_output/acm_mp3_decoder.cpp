#include "acm_mp3_decoder.h"

#include <algorithm>

namespace {

constexpr DWORD kOutputBytes = 1 << 18;
constexpr size_t kInputStepBytes = 4096;  // at most about 0.3 s of sound
constexpr int kBitRate = 128000;          // nominal: the codec reads each frame's own header

MPEGLAYER3WAVEFORMAT mp3Format(int rate, int channels) {
  MPEGLAYER3WAVEFORMAT format = {};
  format.wfx.wFormatTag = WAVE_FORMAT_MPEGLAYER3;
  format.wfx.nChannels = static_cast<WORD>(channels);
  format.wfx.nSamplesPerSec = static_cast<DWORD>(rate);
  format.wfx.nAvgBytesPerSec = kBitRate / 8;
  format.wfx.nBlockAlign = 1;
  format.wfx.cbSize = MPEGLAYER3_WFX_EXTRA_BYTES;
  format.wID = MPEGLAYER3_ID_MPEG;
  format.fdwFlags = MPEGLAYER3_FLAG_PADDING_OFF;
  format.nBlockSize = static_cast<WORD>(144 * kBitRate / rate);
  format.nFramesPerBlock = 1;
  return format;
}

}  // namespace

std::unique_ptr<AcmMp3Decoder> AcmMp3Decoder::open(int rate, int channels) {
  if (rate <= 0 || channels < 1 || channels > 2) return nullptr;
  MPEGLAYER3WAVEFORMAT source = mp3Format(rate, channels);
  WAVEFORMATEX pcm = {WAVE_FORMAT_PCM,
                      static_cast<WORD>(channels),
                      static_cast<DWORD>(rate),
                      static_cast<DWORD>(rate * 2 * channels),
                      static_cast<WORD>(2 * channels),
                      16,
                      0};
  std::unique_ptr<AcmMp3Decoder> decoder(new AcmMp3Decoder);
  if (acmStreamOpen(&decoder->stream_, nullptr, &source.wfx, &pcm, nullptr, 0, 0, ACM_STREAMOPENF_NONREALTIME) !=
      MMSYSERR_NOERROR) {
    decoder->stream_ = nullptr;
    return nullptr;
  }
  decoder->output_.resize(kOutputBytes);
  return decoder;
}

AcmMp3Decoder::~AcmMp3Decoder() {
  if (stream_) acmStreamClose(stream_, 0);
}

void AcmMp3Decoder::decode(const uint8_t* data, size_t size, std::vector<int16_t>& out) {
  if (!data || size == 0) return;
  pending_.insert(pending_.end(), data, data + size);
  // Small steps keep each step's sound well inside the output buffer; what the
  // codec does not take waits for the next block.
  while (!pending_.empty()) {
    DWORD used = 0;
    DWORD produced = 0;
    const DWORD step = static_cast<DWORD>(std::min(pending_.size(), kInputStepBytes));
    if (!convert(pending_.data(), step, &used, &produced, out) || used == 0) break;
  }
}

bool AcmMp3Decoder::convert(const uint8_t* data, DWORD size, DWORD* used, DWORD* produced, std::vector<int16_t>& out) {
  ACMSTREAMHEADER header = {};
  header.cbStruct = sizeof header;
  header.pbSrc = const_cast<LPBYTE>(data);
  header.cbSrcLength = size;
  header.pbDst = output_.data();
  header.cbDstLength = static_cast<DWORD>(output_.size());
  if (acmStreamPrepareHeader(stream_, &header, 0) != MMSYSERR_NOERROR) return false;
  const DWORD flags = ACM_STREAMCONVERTF_BLOCKALIGN | (started_ ? 0 : ACM_STREAMCONVERTF_START);
  const bool converted = acmStreamConvert(stream_, &header, flags) == MMSYSERR_NOERROR;
  started_ = true;
  *used = converted ? std::min(header.cbSrcLengthUsed, size) : 0;
  *produced = converted ? std::min(header.cbDstLengthUsed, DWORD(output_.size())) : 0;
  header.cbSrcLength = size;
  header.cbDstLength = static_cast<DWORD>(output_.size());
  acmStreamUnprepareHeader(stream_, &header, 0);
  if (!converted) return false;
  const int16_t* samples = reinterpret_cast<const int16_t*>(output_.data());
  out.insert(out.end(), samples, samples + *produced / sizeof(int16_t));
  pending_.erase(pending_.begin(), pending_.begin() + *used);
  return true;
}

std::unique_ptr<swf::Mp3Decoder> AcmMp3DecoderFactory::create(int rate, int channels) {
  return AcmMp3Decoder::open(rate, channels);
}
