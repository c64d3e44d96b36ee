// MP3 for the stand-in control's sound, through the audio compression manager's
// MPEG Layer-3 codec. Without an installed codec the factory makes no decoder,
// and MP3 sounds play as silence.
#pragma once

#include <windows.h>
#include <mmsystem.h>
#include <mmreg.h>
#include <msacm.h>

#include <memory>
#include <vector>

#include "mp3_decoder.h"

class AcmMp3Decoder : public swf::Mp3Decoder {
 public:
  ~AcmMp3Decoder() override;
  // Null when no codec converts MP3 of this rate and channel count to PCM.
  static std::unique_ptr<AcmMp3Decoder> open(int rate, int channels);
  void decode(const uint8_t* data, size_t size, std::vector<int16_t>& out) override;

 private:
  AcmMp3Decoder() = default;
  bool convert(const uint8_t* data, DWORD size, DWORD* used, DWORD* produced, std::vector<int16_t>& out);

  HACMSTREAM stream_ = nullptr;
  bool started_ = false;
  std::vector<uint8_t> pending_;  // input the codec has not taken yet
  std::vector<uint8_t> output_;
};

class AcmMp3DecoderFactory : public swf::Mp3DecoderFactory {
 public:
  std::unique_ptr<swf::Mp3Decoder> create(int rate, int channels) override;
};
