#include <gtest/gtest.h>

#include <vector>

#include "adpcm_decoder.h"
#include "bit_writer.h"
#include "pcm_decoder.h"
#include "sound_decoder.h"
#include "upsampler.h"

namespace {

using mvqtest::BitWriter;
using Samples = std::vector<int16_t>;

swf::SoundFormat pcmFormat(swf::SoundCodec codec, bool sixteen, bool stereo) {
  swf::SoundFormat format;
  format.codec = codec;
  format.sixteenBit = sixteen;
  format.stereo = stereo;
  return format;
}

Samples decodePcmBytes(const swf::SoundFormat& format, const std::vector<uint8_t>& bytes, size_t maxFrames = 0) {
  Samples out;
  swf::decodePcm(format, bytes.data(), bytes.size(), maxFrames, out);
  return out;
}

TEST(SoundFormat, TheFormatByteSplitsIntoCodecRateSizeAndType) {
  const swf::SoundFormat format = swf::SoundFormat::fromByte(0x16);  // ADPCM, 11025, 16-bit, mono
  EXPECT_EQ(swf::SoundCodec::Adpcm, format.codec);
  EXPECT_EQ(1, format.rateCode);
  EXPECT_TRUE(format.sixteenBit);
  EXPECT_FALSE(format.stereo);
  EXPECT_EQ(4, format.upsampleFactor());
  EXPECT_EQ(8, swf::SoundFormat::fromByte(0x01).upsampleFactor());
  EXPECT_EQ(2, swf::SoundFormat::fromByte(0x3F).channels());
  EXPECT_EQ(1, swf::SoundFormat::fromByte(0x3F).upsampleFactor());
}

TEST(PcmDecoder, EightBitSamplesAreUnsignedAroundTheMiddle) {
  const auto format = pcmFormat(swf::SoundCodec::PcmLittleEndian, false, false);
  EXPECT_EQ((Samples{-32768, 0, 32512, -256}), decodePcmBytes(format, {0x00, 0x80, 0xFF, 0x7F}));
}

TEST(PcmDecoder, SixteenBitSamplesAreLittleEndianInBothByteOrderCodecs) {
  const std::vector<uint8_t> bytes = {0x34, 0x12, 0x00, 0x80, 0xFF, 0x7F};
  EXPECT_EQ((Samples{0x1234, -32768, 32767}),
            decodePcmBytes(pcmFormat(swf::SoundCodec::PcmLittleEndian, true, false), bytes));
  EXPECT_EQ((Samples{0x1234, -32768, 32767}),
            decodePcmBytes(pcmFormat(swf::SoundCodec::PcmNativeEndian, true, false), bytes));
}

TEST(PcmDecoder, OnlyWholeFramesAreTakenAndTheCountIsHonoured) {
  const auto stereo = pcmFormat(swf::SoundCodec::PcmLittleEndian, true, true);
  EXPECT_EQ((Samples{1, 2}), decodePcmBytes(stereo, {1, 0, 2, 0, 3, 0}));
  EXPECT_EQ((Samples{1, 2}), decodePcmBytes(stereo, {1, 0, 2, 0, 3, 0, 4, 0}, 1));
  EXPECT_TRUE(decodePcmBytes(stereo, {1, 0, 2}).empty());
}

Samples decodeAdpcmBits(const BitWriter& bits, int channels, size_t maxFrames = 0) {
  const mvqtest::Bytes bytes = bits.bytes();
  Samples out;
  swf::decodeAdpcm(bytes.data(), bytes.size(), channels, maxFrames, out);
  return out;
}

TEST(AdpcmDecoder, FourBitCodesFollowTheStepTable) {
  BitWriter bits;
  bits.writeUnsigned(2, 2).writeSigned(1000, 16).writeUnsigned(10, 6);
  bits.writeUnsigned(0x5, 4).writeUnsigned(0xB, 4).writeUnsigned(0x7, 4);
  // step 19: +2+19+4; index 14 (step 28): -(3+14+7); index 13 (step 25): +3+25+12+6
  EXPECT_EQ((Samples{1000, 1025, 1001, 1047}), decodeAdpcmBits(bits, 1, 4));
}

TEST(AdpcmDecoder, TwoBitCodes) {
  BitWriter bits;
  bits.writeUnsigned(0, 2).writeSigned(-5, 16).writeUnsigned(0, 6).writeUnsigned(1, 2).writeUnsigned(2, 2);
  EXPECT_EQ((Samples{-5, 5, 1}), decodeAdpcmBits(bits, 1, 3));
}

TEST(AdpcmDecoder, SamplesStayInTheSixteenBitRange) {
  BitWriter bits;
  bits.writeUnsigned(1, 2).writeSigned(32760, 16).writeUnsigned(63, 6);  // step 3024
  bits.writeUnsigned(3, 3).writeUnsigned(3, 3).writeUnsigned(7, 3);
  // +5292 and +7749 are clamped; then index 71 (step 6484): -(1621 + 6484 + 3242)
  EXPECT_EQ((Samples{32760, 32767, 32767, 21420}), decodeAdpcmBits(bits, 1, 4));
}

TEST(AdpcmDecoder, TheStepIndexStopsAtTheEndOfTheTable) {
  BitWriter bits;
  bits.writeUnsigned(2, 2).writeSigned(0, 16).writeUnsigned(0, 6);
  for (int i = 0; i < 20; ++i) bits.writeUnsigned(0x7, 4);
  bits.writeUnsigned(0x8, 4);
  const Samples out = decodeAdpcmBits(bits, 1, 22);
  ASSERT_EQ(22u, out.size());
  EXPECT_EQ(32767, out[20]);
  EXPECT_EQ(32767 - (32767 >> 3), out[21]) << "index 88, the largest step";
}

TEST(AdpcmDecoder, StereoCodesAlternateAndEachChannelKeepsItsState) {
  BitWriter bits;
  bits.writeUnsigned(3, 2);  // five bits per code
  bits.writeSigned(100, 16).writeUnsigned(0, 6).writeSigned(-100, 16).writeUnsigned(0, 6);
  bits.writeUnsigned(0x0F, 5).writeUnsigned(0x1F, 5);
  // step 7: 7>>4 = 0, then 7 + 3 + 1 + 0 for the four magnitude bits
  EXPECT_EQ((Samples{100, -100, 111, -111}), decodeAdpcmBits(bits, 2));
}

TEST(AdpcmDecoder, EveryPacketOf4096FramesStartsAfresh) {
  BitWriter bits;
  bits.writeUnsigned(2, 2).writeSigned(0, 16).writeUnsigned(0, 6);
  for (int i = 1; i < 4096; ++i) bits.writeUnsigned(0, 4);
  bits.writeSigned(1234, 16).writeUnsigned(28, 6).writeUnsigned(0, 4);
  const Samples out = decodeAdpcmBits(bits, 1, 4098);
  ASSERT_EQ(4098u, out.size());
  EXPECT_EQ(0, out[4095]);
  EXPECT_EQ(1234, out[4096]);
  EXPECT_EQ(1234 + (107 >> 3), out[4097]) << "the new packet's index (28, step 107) is used";
}

TEST(AdpcmDecoder, CutDataEndsAtTheLastWholeCode) {
  BitWriter bits;
  bits.writeUnsigned(3, 2).writeSigned(7, 16).writeUnsigned(0, 6).writeUnsigned(0, 5);  // 29 bits in 4 bytes
  EXPECT_EQ((Samples{7, 7}), decodeAdpcmBits(bits, 1)) << "the 3 padding bits make no code";
  Samples none;
  swf::decodeAdpcm(nullptr, 0, 1, 0, none);
  const uint8_t one = 0x80;
  swf::decodeAdpcm(&one, 1, 1, 0, none);
  swf::decodeAdpcm(&one, 1, 3, 0, none);
  EXPECT_TRUE(none.empty());
}

TEST(Upsampler, SourceFramesLandOnMultiplesOfTheFactorWithLinearStepsBetween) {
  const Samples mono = {0, 800, -800};
  Samples out;
  swf::upsampleToStereo(mono.data(), 3, 1, 4, out);
  EXPECT_EQ((Samples{0, 0, 200,  200,  400,  400,  600,  600,  800,  800,  400,  400,
                     0, 0, -400, -400, -800, -800, -800, -800, -800, -800, -800, -800}),
            out);
}

TEST(Upsampler, StereoKeepsItsChannelsApart) {
  const Samples stereo = {10, -10, 30, -30};
  Samples out;
  swf::upsampleToStereo(stereo.data(), 2, 2, 2, out);
  EXPECT_EQ((Samples{10, -10, 20, -20, 30, -30, 30, -30}), out);
}

TEST(SoundDecoder, UnsupportedCodecsAndMp3WithoutADecoderAreSilent) {
  const std::vector<uint8_t> data(100, 0x55);
  Samples out;
  swf::decodeSoundData(swf::SoundFormat::fromByte(0x2E), data.data(), data.size(), 0, nullptr, out);
  swf::decodeSoundData(swf::SoundFormat::fromByte(0x6E), data.data(), data.size(), 0, nullptr, out);
  swf::decodeSoundData(swf::SoundFormat::fromByte(0xBE), data.data(), data.size(), 0, nullptr, out);
  EXPECT_TRUE(out.empty());
}

}  // namespace
