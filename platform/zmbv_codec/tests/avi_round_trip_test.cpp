// AVI files written through the AVI file services with the codec, read back by
// the same services (through its decompressor) and by the host's ffmpeg.
#include <windows.h>
#include <vfw.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/picture.h"
#include "host_command.h"
#include "test_files.h"
#include "test_pictures.h"

namespace {

const DWORD kZmbv = mmioFOURCC('Z', 'M', 'B', 'V');
constexpr int kWidth = 61;
constexpr int kHeight = 47;

class AviLibrary {
 public:
  AviLibrary() { AVIFileInit(); }
  ~AviLibrary() { AVIFileExit(); }
};

template <typename T>
struct Released {
  T* object = nullptr;
  ~Released() {
    if (object) object->Release();
  }
};

BITMAPINFOHEADER frameFormat(int bits) {
  BITMAPINFOHEADER format{};
  format.biSize = sizeof format;
  format.biWidth = kWidth;
  format.biHeight = kHeight;
  format.biPlanes = 1;
  format.biBitCount = static_cast<WORD>(bits);
  format.biCompression = BI_RGB;
  format.biSizeImage = static_cast<DWORD>(zmbv::DibLayout{kWidth, kHeight, bits, true}.imageSize());
  return format;
}

struct WriteOptions {
  int bits = 24;
  DWORD keyEvery = 4;
  DWORD writeFlags = 0;      // the program marks every sample AVIIF_KEYFRAME
  DWORD bytesPerSecond = 0;  // the program asks for 300 KB/s by default
};

// Writes the pictures at 10 frames a second; true when every step succeeded.
bool writeAvi(const std::string& path, const std::vector<zmbv::Picture>& pictures, const WriteOptions& options) {
  Released<IAVIFile> file;
  if (AVIFileOpenA(&file.object, path.c_str(), OF_CREATE | OF_WRITE, nullptr) != AVIERR_OK) return false;
  AVISTREAMINFOA info{};
  info.fccType = streamtypeVIDEO;
  info.dwScale = 1;
  info.dwRate = 10;
  info.rcFrame = {0, 0, kWidth, kHeight};
  Released<IAVIStream> stream, compressed;
  if (AVIFileCreateStreamA(file.object, &stream.object, &info) != AVIERR_OK) return false;
  AVICOMPRESSOPTIONS compress{};
  compress.fccType = streamtypeVIDEO;
  compress.fccHandler = kZmbv;
  compress.dwKeyFrameEvery = options.keyEvery;
  compress.dwQuality = static_cast<DWORD>(ICQUALITY_DEFAULT);
  compress.dwBytesPerSecond = options.bytesPerSecond;
  compress.dwFlags = AVICOMPRESSF_VALID | AVICOMPRESSF_KEYFRAMES | (options.bytesPerSecond ? AVICOMPRESSF_DATARATE : 0);
  if (AVIMakeCompressedStream(&compressed.object, stream.object, &compress, nullptr) != AVIERR_OK) return false;
  BITMAPINFOHEADER format = frameFormat(options.bits);
  if (AVIStreamSetFormat(compressed.object, 0, &format, sizeof format) != AVIERR_OK) return false;
  for (size_t i = 0; i < pictures.size(); ++i) {
    auto bits = zmbvtest::toDib(pictures[i], options.bits, true);
    if (AVIStreamWrite(compressed.object, static_cast<LONG>(i), 1, bits.data(), static_cast<LONG>(bits.size()),
                       options.writeFlags, nullptr, nullptr) != AVIERR_OK)
      return false;
  }
  return true;
}

// ffmpeg's frames as top-down BGR rows, one vector per frame.
std::vector<std::vector<uint8_t>> ffmpegFrames(const std::string& avi, const mvqtest::TempDir& folder) {
  const std::string raw = folder.file("frames.raw");
  if (!audiotest::runHostCommand("ffmpeg -v error -y -i '" + audiotest::hostPath(avi) +
                                 "' -f rawvideo -pix_fmt bgr24 '" + audiotest::hostPath(raw) + "'"))
    return {};
  const mvqtest::Bytes bytes = mvqtest::readFile(raw);
  const size_t frameBytes = static_cast<size_t>(kWidth) * kHeight * 3;
  std::vector<std::vector<uint8_t>> frames;
  for (size_t at = 0; at + frameBytes <= bytes.size(); at += frameBytes)
    frames.emplace_back(bytes.begin() + at, bytes.begin() + at + frameBytes);
  return frames;
}

std::vector<uint8_t> packedTopDown(const zmbv::Picture& picture) {
  std::vector<uint8_t> bytes;
  for (uint32_t pixel : picture.pixels) {
    bytes.push_back(static_cast<uint8_t>(pixel));
    bytes.push_back(static_cast<uint8_t>(pixel >> 8));
    bytes.push_back(static_cast<uint8_t>(pixel >> 16));
  }
  return bytes;
}

class ZmbvAvi : public testing::Test {
 protected:
  AviLibrary library_;
  mvqtest::TempDir folder_;
  std::vector<zmbv::Picture> pictures_ = zmbvtest::mixedSequence(kWidth, kHeight, 13);
};

TEST_F(ZmbvAvi, AviFileServicesReadItBackThroughTheDecompressor) {
  for (int bits : {24, 32}) {
    SCOPED_TRACE(testing::Message() << bits << " bits");
    const std::string path = folder_.file("clip" + std::to_string(bits) + ".avi");
    WriteOptions options;
    options.bits = bits;
    ASSERT_TRUE(writeAvi(path, pictures_, options));

    Released<IAVIFile> file;
    ASSERT_EQ(AVIERR_OK, AVIFileOpenA(&file.object, path.c_str(), OF_READ, nullptr));
    Released<IAVIStream> stream;
    ASSERT_EQ(AVIERR_OK, AVIFileGetStream(file.object, &stream.object, streamtypeVIDEO, 0));
    BITMAPINFOHEADER stored{};
    LONG size = sizeof stored;
    ASSERT_EQ(AVIERR_OK, AVIStreamReadFormat(stream.object, 0, &stored, &size));
    EXPECT_EQ(kZmbv, stored.biCompression);
    ASSERT_EQ(static_cast<LONG>(pictures_.size()), AVIStreamLength(stream.object));
    for (LONG i = 0; i < AVIStreamLength(stream.object); ++i)
      EXPECT_EQ(i % 4 == 0, static_cast<bool>(AVIStreamIsKeyFrame(stream.object, i))) << i;

    BITMAPINFOHEADER wanted = frameFormat(bits);
    PGETFRAME frames = AVIStreamGetFrameOpen(stream.object, &wanted);
    ASSERT_NE(nullptr, frames);
    // In order, then jumping about (from the key frame before each).
    const LONG order[] = {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 11, 2, 7, 0, 12, 5};
    for (LONG i : order) {
      const auto* header = static_cast<const BITMAPINFOHEADER*>(AVIStreamGetFrame(frames, i));
      ASSERT_NE(nullptr, header) << i;
      const auto* bytes = reinterpret_cast<const uint8_t*>(header) + header->biSize;
      const auto expected = zmbvtest::toDib(pictures_[i], bits, true);
      ASSERT_EQ(expected, std::vector<uint8_t>(bytes, bytes + expected.size())) << "frame " << i;
    }
    AVIStreamGetFrameClose(frames);
  }
}

TEST_F(ZmbvAvi, FfmpegDecodesItExactly) {
  if (!audiotest::hostToolAvailable("ffmpeg")) GTEST_SKIP() << "the host's ffmpeg is not reachable";
  for (int bits : {24, 32}) {
    SCOPED_TRACE(testing::Message() << bits << " bits");
    const std::string path = folder_.file("ff" + std::to_string(bits) + ".avi");
    WriteOptions options;
    options.bits = bits;
    ASSERT_TRUE(writeAvi(path, pictures_, options));
    const auto frames = ffmpegFrames(path, folder_);
    ASSERT_EQ(pictures_.size(), frames.size());
    for (size_t i = 0; i < frames.size(); ++i) ASSERT_EQ(packedTopDown(pictures_[i]), frames[i]) << "frame " << i;
  }
}

TEST_F(ZmbvAvi, WrittenAsTheProgramWritesItStillDecodes) {
  // Every sample marked a key frame, key frames every 15, a data rate asked for.
  const std::string path = folder_.file("program.avi");
  WriteOptions options;
  options.keyEvery = 15;
  options.writeFlags = AVIIF_KEYFRAME;
  options.bytesPerSecond = 300 * 1024;
  std::vector<zmbv::Picture> pictures = zmbvtest::mixedSequence(kWidth, kHeight, 20);
  ASSERT_TRUE(writeAvi(path, pictures, options));
  if (!audiotest::hostToolAvailable("ffmpeg")) GTEST_SKIP() << "the host's ffmpeg is not reachable";
  const auto frames = ffmpegFrames(path, folder_);
  ASSERT_EQ(pictures.size(), frames.size());
  for (size_t i = 0; i < frames.size(); ++i) ASSERT_EQ(packedTopDown(pictures[i]), frames[i]) << "frame " << i;
}

}  // namespace
