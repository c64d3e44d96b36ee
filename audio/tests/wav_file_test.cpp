#include "wav_file.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "host_command.h"
#include "test_files.h"
#include "wav_bytes.h"
#include "wav_samples.h"

namespace {

using audiotest::Bytes;
using audiotest::chunk;
using audiotest::fourccAt;
using audiotest::pcmFormat;
using audiotest::pcmFormatBody;
using audiotest::riff;
using audiotest::u16At;
using audiotest::u32At;
using audiotest::operator+;
using mvqtest::TempDir;

// IMA ADPCM with its two extra bytes (samples per block).
struct AdpcmFormat {
  WAVEFORMATEX head;
  BYTE extra[2];
};

AdpcmFormat imaAdpcm() {
  AdpcmFormat format = {};
  format.head.wFormatTag = 0x11;
  format.head.nChannels = 1;
  format.head.nSamplesPerSec = 22050;
  format.head.nAvgBytesPerSec = 11100;
  format.head.nBlockAlign = 512;
  format.head.wBitsPerSample = 4;
  format.head.cbSize = 2;
  format.extra[0] = 0xF9;
  format.extra[1] = 0x03;
  return format;
}

Bytes counting(size_t count) {
  Bytes bytes(count);
  for (size_t i = 0; i < count; ++i) bytes[i] = static_cast<uint8_t>(i * 7 + 3);
  return bytes;
}

std::string writeWav(const TempDir& folder, const std::string& name, const WAVEFORMATEX& format, const Bytes& data) {
  const std::string path = folder.file(name);
  WavFile file;
  EXPECT_EQ(S_OK, file.open(path.c_str(), WavFile::WriteMode, &format));
  if (!data.empty()) {
    EXPECT_EQ(S_OK, file.write(data.data(), static_cast<DWORD>(data.size())));
  }
  EXPECT_EQ(S_OK, file.close());
  return path;
}

Bytes readAll(WavFile& file, DWORD chunkSize = 1000) {
  Bytes all;
  std::vector<BYTE> buffer(chunkSize);
  DWORD read = 0;
  while (SUCCEEDED(file.read(buffer.data(), chunkSize, &read)) && read > 0) {
    all.insert(all.end(), buffer.begin(), buffer.begin() + read);
  }
  return all;
}

TEST(WavFileWriting, APcmFileHasTheLayoutWithSizesFixedUpAtClose) {
  TempDir folder;
  const Bytes data = counting(176400 * 2 + 6);  // two seconds and a bit of 44100/16/stereo
  const Bytes file = mvqtest::readFile(writeWav(folder, "pcm.wav", pcmFormat(2, 44100, 16), data));

  ASSERT_EQ(size_t(56) + data.size(), file.size());
  EXPECT_EQ("RIFF", fourccAt(file, 0));
  EXPECT_EQ(file.size() - 8, u32At(file, 4));
  EXPECT_EQ("WAVE", fourccAt(file, 8));
  EXPECT_EQ("fmt ", fourccAt(file, 12));
  EXPECT_EQ(16u, u32At(file, 16));
  EXPECT_EQ(Bytes(file.begin() + 20, file.begin() + 36), pcmFormatBody(2, 44100, 16));
  EXPECT_EQ("fact", fourccAt(file, 36));
  EXPECT_EQ(4u, u32At(file, 40));
  EXPECT_EQ(88201u, u32At(file, 44));  // (352806 / 176400) * 44100, truncated
  EXPECT_EQ("data", fourccAt(file, 48));
  EXPECT_EQ(data.size(), u32At(file, 52));
  EXPECT_EQ(data, Bytes(file.begin() + 56, file.end()));
}

TEST(WavFileWriting, PcmBlockAlignAndByteRateAreRecomputed) {
  TempDir folder;
  WAVEFORMATEX format = pcmFormat(1, 11025, 8);
  format.nBlockAlign = 7;
  format.nAvgBytesPerSec = 12345;
  format.cbSize = 9;
  const std::string path = writeWav(folder, "mono.wav", format, counting(11025));
  const Bytes file = mvqtest::readFile(path);
  EXPECT_EQ(Bytes(file.begin() + 20, file.begin() + 36), pcmFormatBody(1, 11025, 8));
  EXPECT_EQ(11025u, u32At(file, 44));

  WavFile reader;
  ASSERT_EQ(S_OK, reader.open(path.c_str(), WavFile::ReadMode));
  EXPECT_EQ(1u, reader.format()->nBlockAlign);
  EXPECT_EQ(11025u, reader.format()->nAvgBytesPerSec);
  EXPECT_EQ(0u, reader.format()->cbSize);
}

TEST(WavFileWriting, ANonPcmFormatKeepsItsExtraBytes) {
  TempDir folder;
  const AdpcmFormat format = imaAdpcm();
  const std::string path = writeWav(folder, "adpcm.wav", format.head, counting(1024));
  const Bytes file = mvqtest::readFile(path);
  EXPECT_EQ(20u, u32At(file, 16));
  EXPECT_EQ(2u, u16At(file, 36));
  EXPECT_EQ(0xF9, file[38]);
  EXPECT_EQ(0x03, file[39]);
  EXPECT_EQ("fact", fourccAt(file, 40));
  EXPECT_EQ(2034u, u32At(file, 48));  // 1024 / 11100 * 22050

  WavFile reader;
  ASSERT_EQ(S_OK, reader.open(path.c_str(), WavFile::ReadMode));
  const WAVEFORMATEX* read = reader.format();
  ASSERT_NE(nullptr, read);
  EXPECT_EQ(0x11, read->wFormatTag);
  ASSERT_EQ(2u, read->cbSize);
  EXPECT_EQ(0xF9, reinterpret_cast<const BYTE*>(read + 1)[0]);
  EXPECT_EQ(0x03, reinterpret_cast<const BYTE*>(read + 1)[1]);
  EXPECT_EQ(1024u, reader.dataSize());
}

TEST(WavFileWriting, AClosedEmptyFileHasNoDataAndNoFrames) {
  TempDir folder;
  const std::string path = folder.file("empty.wav");
  WavFile file;
  const WAVEFORMATEX format = pcmFormat(2, 44100, 16);
  ASSERT_EQ(S_OK, file.open(path.c_str(), WavFile::WriteMode, &format));
  ASSERT_EQ(S_OK, file.close());
  EXPECT_EQ(0u, file.dataSize());
  const Bytes bytes = mvqtest::readFile(path);
  ASSERT_EQ(56u, bytes.size());
  EXPECT_EQ(0u, u32At(bytes, 44));
  EXPECT_EQ(0u, u32At(bytes, 52));
  EXPECT_EQ(S_OK, file.close()) << "closing a closed file succeeds";
}

TEST(WavFileWriting, TheFrameCountStaysUnknownWhileTheFileIsOpen) {
  TempDir folder;
  const std::string path = folder.file("open.wav");
  WavFile file;
  const WAVEFORMATEX format = pcmFormat(2, 44100, 16);
  ASSERT_EQ(S_OK, file.open(path.c_str(), WavFile::WriteMode, &format));
  const Bytes data = counting(4000);
  ASSERT_EQ(S_OK, file.write(data.data(), 4000));
  // The buffered header reaches the disk on a seek back; the count is still the marker.
  ASSERT_EQ(44, file.seek(44, SEEK_SET));
  DWORD frames = 0;
  DWORD read = 0;
  ASSERT_EQ(S_OK, file.read(&frames, 4, &read));
  EXPECT_EQ(0xFFFFFFFFu, frames);
  ASSERT_EQ(56 + 4000, file.seek(56 + 4000, SEEK_SET));
  ASSERT_EQ(S_OK, file.close());
  EXPECT_EQ(4000u, file.dataSize());
  EXPECT_EQ(1000u, u32At(mvqtest::readFile(path), 44));
}

TEST(WavFileWriting, ThePathAndFormatAreChecked) {
  TempDir folder;
  const WAVEFORMATEX format = pcmFormat(2, 44100, 16);
  WavFile file;
  char previous[MAX_PATH];
  GetCurrentDirectoryA(MAX_PATH, previous);
  SetCurrentDirectoryA(folder.path().c_str());
  EXPECT_EQ(E_INVALIDARG, file.open("a.w", WavFile::WriteMode, &format));
  EXPECT_EQ(E_INVALIDARG, file.open("ab.", WavFile::ReadMode));
  EXPECT_EQ(S_OK, file.open("abcd", WavFile::WriteMode, &format)) << "four characters are enough";
  EXPECT_EQ(S_OK, file.close());
  SetCurrentDirectoryA(previous);
  EXPECT_EQ(1u, folder.entryCount()) << "only the four-character file was made";
  EXPECT_EQ(E_INVALIDARG, file.open(nullptr, WavFile::ReadMode));
  EXPECT_EQ(E_INVALIDARG, file.open(folder.file("x.wav").c_str(), WavFile::WriteMode, nullptr));
  EXPECT_FALSE(mvqtest::fileExists(folder.file("x.wav")));
  EXPECT_EQ(nullptr, file.format());
}

TEST(WavFileReading, DataAfterAListChunkIsFound) {
  TempDir folder;
  const Bytes sound = counting(300);
  const Bytes list = chunk("LIST", Bytes{'I', 'N', 'F', 'O', 'I', 'N', 'A', 'M', 3, 0, 0, 0, 'a', 'b', 0, 0});
  const std::string path =
      folder.write("list.wav", riff("WAVE", chunk("fmt ", pcmFormatBody(1, 22050, 16)) + list + chunk("data", sound)));
  WavFile file;
  ASSERT_EQ(S_OK, file.open(path.c_str(), WavFile::ReadMode));
  EXPECT_EQ(300u, file.dataSize());
  EXPECT_EQ(22050u, file.format()->nSamplesPerSec);
  EXPECT_EQ(sound, readAll(file, 128));
}

TEST(WavFileReading, ReadingGoesOnPastTheDataChunk) {
  TempDir folder;
  const Bytes sound = counting(10);
  const Bytes after = chunk("junk", Bytes{1, 2, 3, 4});
  const std::string path =
      folder.write("after.wav", riff("WAVE", chunk("fmt ", pcmFormatBody(1, 8000, 8)) + chunk("data", sound) + after));
  WavFile file;
  ASSERT_EQ(S_OK, file.open(path.c_str(), WavFile::ReadMode));
  EXPECT_EQ(10u, file.dataSize());
  EXPECT_EQ(sound + after, readAll(file));
}

TEST(WavFileReading, BrokenHeadersAreRejected) {
  TempDir folder;
  const Bytes data = chunk("data", counting(8));
  Bytes shortFormat = pcmFormatBody(2, 44100, 16);
  shortFormat.resize(14);
  Bytes nonPcmCut = pcmFormatBody(1, 22050, 4);
  nonPcmCut[0] = 0x11;
  nonPcmCut.push_back(4);  // cbSize 4, then only one extra byte
  nonPcmCut.push_back(0);
  nonPcmCut.push_back(0xAA);
  const struct {
    const char* name;
    Bytes bytes;
  } cases[] = {
      {"fmt14.wav", riff("WAVE", chunk("fmt ", shortFormat) + data)},
      {"avi.wav", riff("AVI ", chunk("fmt ", pcmFormatBody(2, 44100, 16)) + data)},
      {"nofmt.wav", riff("WAVE", data)},
      {"nodata.wav", riff("WAVE", chunk("fmt ", pcmFormatBody(2, 44100, 16)))},
      {"extra.wav", riff("WAVE", chunk("fmt ", nonPcmCut))},
      {"text.wav", Bytes{'h', 'e', 'l', 'l', 'o'}},
      {"empty.wav", Bytes{}},
  };
  for (const auto& c : cases) {
    WavFile file;
    EXPECT_EQ(E_FAIL, file.open(folder.write(c.name, c.bytes).c_str(), WavFile::ReadMode)) << c.name;
    EXPECT_FALSE(file.isOpen()) << c.name;
  }
  WavFile missing;
  EXPECT_EQ(E_FAIL, missing.open(folder.file("missing.wav").c_str(), WavFile::ReadMode));
}

// The format comes from the "fmt " chunk alone, never from the chunk after it.
TEST(WavFileReading, AFormatIsReadFromItsOwnChunkOnly) {
  TempDir folder;
  const Bytes sound = counting(64);
  Bytes floats = pcmFormatBody(2, 48000, 32);  // IEEE float, written without cbSize
  floats[0] = 3;
  Bytes extensible = pcmFormatBody(2, 44100, 16);
  extensible[0] = 0xFE;
  extensible.push_back(22);
  extensible.push_back(0);
  const Bytes tail = counting(22);
  extensible.insert(extensible.end(), tail.begin(), tail.end());
  Bytes pastTheChunk = pcmFormatBody(1, 22050, 4);
  pastTheChunk[0] = 0x11;
  pastTheChunk.push_back(40);  // cbSize 40, with the chunk ending after two of them
  pastTheChunk.push_back(0);
  pastTheChunk.push_back(0xF9);
  pastTheChunk.push_back(0x03);

  WavFile file;
  ASSERT_EQ(S_OK,
            file.open(folder.write("float.wav", riff("WAVE", chunk("fmt ", floats) + chunk("data", sound))).c_str(),
                      WavFile::ReadMode));
  EXPECT_EQ(3, file.format()->wFormatTag);
  EXPECT_EQ(0u, file.format()->cbSize);
  EXPECT_EQ(64u, file.dataSize());
  EXPECT_EQ(sound, readAll(file));

  ASSERT_EQ(S_OK,
            file.open(folder.write("ext.wav", riff("WAVE", chunk("fmt ", extensible) + chunk("data", sound))).c_str(),
                      WavFile::ReadMode));
  ASSERT_EQ(22u, file.format()->cbSize);
  EXPECT_EQ(tail, Bytes(reinterpret_cast<const BYTE*>(file.format() + 1),
                        reinterpret_cast<const BYTE*>(file.format() + 1) + 22));
  EXPECT_EQ(sound, readAll(file));

  EXPECT_EQ(
      E_FAIL,
      file.open(folder.write("past.wav", riff("WAVE", chunk("fmt ", pastTheChunk) + chunk("data", sound))).c_str(),
                WavFile::ReadMode));
  EXPECT_FALSE(file.isOpen());
}

TEST(WavFileReading, CallsOnAClosedOrEmptyRequestFailPlainly) {
  WavFile file;
  BYTE buffer[4];
  DWORD read = 99;
  EXPECT_EQ(E_FAIL, file.read(buffer, 4, &read));
  EXPECT_EQ(CO_E_NOTINITIALIZED, file.write(buffer, 4));
  EXPECT_EQ(-1, file.seek(0, SEEK_SET));

  TempDir folder;
  const WAVEFORMATEX format = pcmFormat(1, 8000, 8);
  ASSERT_EQ(S_OK, file.open(folder.file("w.wav").c_str(), WavFile::WriteMode, &format));
  EXPECT_EQ(E_INVALIDARG, file.read(nullptr, 4, &read));
  EXPECT_EQ(E_INVALIDARG, file.read(buffer, 0, &read));
  EXPECT_EQ(E_INVALIDARG, file.write(nullptr, 4));
}

// The files as other programs read them.
class WavFileReadBack : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!audiotest::hostToolAvailable("ffprobe") || !audiotest::hostToolAvailable("sox")) {
      GTEST_SKIP() << "ffprobe and sox of the host are not reachable";
    }
  }
  static std::string probe(const std::string& path) {
    return audiotest::runHostCommand(
               "ffprobe -v error -show_entries stream=codec_name,sample_rate,channels,"
               "bits_per_sample,duration_ts -of compact=p=0 '" +
               audiotest::hostPath(path) + "'")
        .value_or("ffprobe failed");
  }
  // Rate, channels, bits and sample frames as sox reads them, and whether the
  // samples it decodes are the bytes written.
  static std::string soxInfo(const std::string& path, const Bytes& data) {
    const std::string raw = path + ".raw";
    mvqtest::writeFile(raw, data);
    const std::string file = "'" + audiotest::hostPath(path) + "'";
    return audiotest::runHostCommand("for o in r c b s; do soxi -$o " + file + "; done | tr '\\n' ' '; sox " + file +
                                     " -t raw - | cmp -s - '" + audiotest::hostPath(raw) + "' && echo same")
        .value_or("sox failed");
  }
};

TEST_F(WavFileReadBack, FfprobeAndSoxReadTheFormatAndLength) {
  TempDir folder;
  const Bytes stereoData = counting(176400 + 400);
  const Bytes monoData = counting(5000);
  const Bytes wideData = counting(6 * 777);
  const std::string stereo = writeWav(folder, "stereo.wav", pcmFormat(2, 44100, 16), stereoData);
  const std::string mono = writeWav(folder, "mono.wav", pcmFormat(1, 11025, 8), monoData);
  const std::string wide = writeWav(folder, "wide.wav", pcmFormat(2, 48000, 24), wideData);

  EXPECT_EQ("codec_name=pcm_s16le|sample_rate=44100|channels=2|bits_per_sample=16|duration_ts=44200\n", probe(stereo));
  EXPECT_EQ("codec_name=pcm_u8|sample_rate=11025|channels=1|bits_per_sample=8|duration_ts=5000\n", probe(mono));
  EXPECT_EQ("codec_name=pcm_s24le|sample_rate=48000|channels=2|bits_per_sample=24|duration_ts=777\n", probe(wide));
  EXPECT_EQ("44100 2 16 44200 same\n", soxInfo(stereo, stereoData));
  EXPECT_EQ("11025 1 8 5000 same\n", soxInfo(mono, monoData));
  EXPECT_EQ("48000 2 24 777 same\n", soxInfo(wide, wideData));
}

}  // namespace
