// The numbers behind an export: sound chunk sizes, continuation file names, the
// defaults and the compressor record.
#include <gtest/gtest.h>

#include "export_settings.h"
#include "numbered_file_name.h"

namespace {

TEST(SoundChunkBytes, RoundsUpToWholeSampleFrames) {
  const WAVEFORMATEX stereo = defaultExportSettings().audioFormat;
  EXPECT_EQ(1472u * 4, soundChunkBytes(stereo, 2997));  // 44100 / 29.97 = 1471.47
  EXPECT_EQ(3675u * 4, soundChunkBytes(stereo, 1200));  // exact
  EXPECT_EQ(44100u * 4, soundChunkBytes(stereo, 100));
  EXPECT_EQ(4410000u * 4, soundChunkBytes(stereo, 1));
  WAVEFORMATEX mono8 = {WAVE_FORMAT_PCM, 1, 11025, 11025, 1, 8, 0};
  EXPECT_EQ(368u, soundChunkBytes(mono8, 3000));  // 367.5 up
  EXPECT_EQ(0u, soundChunkBytes(stereo, 0));
  EXPECT_EQ(0u, soundChunkBytes(stereo, -5));
}

TEST(NumberedFileName, ReplacesTheExtensionWithFourDigits) {
  EXPECT_EQ("C:\\out\\clip0000.avi", numberedFileName("C:\\out\\clip.avi", 0));
  EXPECT_EQ("C:\\out\\clip0012.avi", numberedFileName("C:\\out\\clip.avi", 12));
  EXPECT_EQ("clip.part0003.avi", numberedFileName("clip.part.avi", 3));
  // No extension, or a dot only in a folder name: the number is added.
  EXPECT_EQ("C:\\v1.0\\clip0001.avi", numberedFileName("C:\\v1.0\\clip", 1));
  EXPECT_EQ("clip9999.avi", numberedFileName("clip.avi", 9999));
}

TEST(ExportSettings, DefaultsAndTheCompressorRecord) {
  const ExportSettings s = defaultExportSettings();
  EXPECT_EQ(SequenceMode::Normal, s.sequenceMode);
  EXPECT_EQ(24u, s.colorDepth);
  EXPECT_TRUE(s.audioEnabled);
  EXPECT_STREQ("", s.wavPath);
  EXPECT_EQ(2000u, s.splitSizeMB);
  EXPECT_EQ(176400u, s.audioFormat.nAvgBytesPerSec);
  EXPECT_EQ(4, s.audioFormat.nBlockAlign);
  EXPECT_EQ(nullptr, s.compressor);

  COMPVARS* record = createCompressorRecord();
  ASSERT_NE(nullptr, record);
  EXPECT_EQ(static_cast<LONG>(sizeof(COMPVARS)), record->cbSize);
  EXPECT_EQ(static_cast<DWORD>(ICMF_COMPVARS_VALID), record->dwFlags);
  EXPECT_EQ(mmioFOURCC('D', 'I', 'B', ' '), record->fccHandler);
  EXPECT_EQ(0u, record->fccType);
  EXPECT_EQ(15, record->lKey);
  EXPECT_EQ(300, record->lDataRate);
  EXPECT_EQ(ICQUALITY_DEFAULT, record->lQ);
  freeCompressorRecord(record);
  freeCompressorRecord(nullptr);
}

}  // namespace
