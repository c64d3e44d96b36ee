// The codec through the system's compressor API, opened as the prefix has it
// registered: what it announces, round trips, key frames, quality, its state and
// the input it refuses.
#include <windows.h>
#include <vfw.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "core/picture.h"
#include "test_pictures.h"

namespace {

const DWORD kZmbv = mmioFOURCC('Z', 'M', 'B', 'V');

class Codec {
 public:
  explicit Codec(UINT mode) : hic_(ICOpen(ICTYPE_VIDEO, kZmbv, mode)) {}
  ~Codec() {
    if (hic_) ICClose(hic_);
  }
  Codec(const Codec&) = delete;
  Codec& operator=(const Codec&) = delete;
  HIC get() const { return hic_; }

 private:
  HIC hic_;
};

// The registry's driver name gives the handler in lower case.
DWORD upperFourcc(DWORD fourcc) {
  DWORD upper = 0;
  for (int i = 0; i < 4; ++i) upper |= static_cast<DWORD>(std::toupper((fourcc >> (8 * i)) & 0xFF)) << (8 * i);
  return upper;
}

BITMAPINFOHEADER rgbHeader(int width, int height, int bits) {
  BITMAPINFOHEADER header{};
  header.biSize = sizeof header;
  header.biWidth = width;
  header.biHeight = height;
  header.biPlanes = 1;
  header.biBitCount = static_cast<WORD>(bits);
  header.biCompression = BI_RGB;
  header.biSizeImage = static_cast<DWORD>(zmbv::DibLayout{width, std::abs(height), bits, height > 0}.imageSize());
  return header;
}

struct CompressedFrame {
  std::vector<uint8_t> bytes;
  DWORD flags = 0;
  DWORD result = ICERR_OK;
};

// A compressing instance between ICCompressBegin and ICCompressEnd.
class Compression {
 public:
  Compression(const BITMAPINFOHEADER& input) : codec_(ICMODE_COMPRESS), input_(input) {
    ICCompressGetFormat(codec_.get(), &input_, &output_);
    begun_ = ICCompressBegin(codec_.get(), &input_, &output_) == ICERR_OK;
    buffer_.resize(ICCompressGetSize(codec_.get(), &input_, &output_));
  }
  ~Compression() {
    if (begun_) ICCompressEnd(codec_.get());
  }
  bool begun() const { return begun_; }
  HIC hic() const { return codec_.get(); }
  const BITMAPINFOHEADER& output() const { return output_; }

  CompressedFrame compress(const std::vector<uint8_t>& bits, bool key, DWORD quality = ICQUALITY_DEFAULT,
                           const BITMAPINFOHEADER* input = nullptr) {
    CompressedFrame frame;
    BITMAPINFOHEADER format = output_;
    DWORD ckid = 0;
    frame.result = ICCompress(codec_.get(), key ? ICCOMPRESS_KEYFRAME : 0, &format, buffer_.data(),
                              const_cast<BITMAPINFOHEADER*>(input ? input : &input_), const_cast<uint8_t*>(bits.data()),
                              &ckid, &frame.flags, frameNumber_++, 0, quality, nullptr, nullptr);
    if (frame.result == ICERR_OK) frame.bytes.assign(buffer_.begin(), buffer_.begin() + format.biSizeImage);
    return frame;
  }

 private:
  Codec codec_;
  BITMAPINFOHEADER input_;
  BITMAPINFOHEADER output_{};
  bool begun_ = false;
  std::vector<uint8_t> buffer_;
  LONG frameNumber_ = 0;
};

// A decompressing instance between ICDecompressBegin and ICDecompressEnd.
class Decompression {
 public:
  Decompression(const BITMAPINFOHEADER& compressed, const BITMAPINFOHEADER& output)
      : codec_(ICMODE_DECOMPRESS), input_(compressed), output_(output) {
    begun_ = ICDecompressBegin(codec_.get(), &input_, &output_) == ICERR_OK;
  }
  ~Decompression() {
    if (begun_) ICDecompressEnd(codec_.get());
  }
  bool begun() const { return begun_; }

  DWORD decompress(const std::vector<uint8_t>& frame, std::vector<uint8_t>& bits, DWORD flags = 0) {
    BITMAPINFOHEADER input = input_;
    input.biSizeImage = static_cast<DWORD>(frame.size());
    bits.assign(output_.biSizeImage, 0xEE);
    return ICDecompress(codec_.get(), flags, &input, const_cast<uint8_t*>(frame.data()), &output_, bits.data());
  }

 private:
  Codec codec_;
  BITMAPINFOHEADER input_;
  BITMAPINFOHEADER output_;
  bool begun_ = false;
};

TEST(ZmbvCodec, IsRegisteredAndDescribesItself) {
  bool listed = false;
  ICINFO info{};
  for (DWORD i = 0; ICInfo(ICTYPE_VIDEO, i, &info); ++i) listed = listed || upperFourcc(info.fccHandler) == kZmbv;
  EXPECT_TRUE(listed) << "no vidc.zmbv among the installed compressors";

  Codec codec(ICMODE_COMPRESS);
  ASSERT_NE(nullptr, codec.get());
  ASSERT_EQ(sizeof(ICINFO), ICGetInfo(codec.get(), &info, sizeof info));
  EXPECT_EQ(std::wstring(L"Zip Motion Block Video (ZMBV)"), info.szDescription);
  EXPECT_EQ(std::wstring(L"ZMBV"), info.szName);
  EXPECT_EQ(static_cast<DWORD>(VIDCF_QUALITY | VIDCF_TEMPORAL | VIDCF_FASTTEMPORALC),
            info.dwFlags & (VIDCF_QUALITY | VIDCF_TEMPORAL | VIDCF_FASTTEMPORALC | VIDCF_CRUNCH));
  EXPECT_EQ(1000, ICGetDefaultQuality(codec.get()));
  EXPECT_EQ(15, ICGetDefaultKeyFrameRate(codec.get()));
  EXPECT_FALSE(ICQueryConfigure(codec.get()));
  EXPECT_TRUE(ICQueryAbout(codec.get()));
}

TEST(ZmbvCodec, RoundTripsExactlyAtBothDepthsAndOddSizes) {
  const int sizes[][2] = {{37, 21}, {64, 48}, {1, 1}, {161, 3}};
  for (int bits : {24, 32}) {
    for (const auto& size : sizes) {
      SCOPED_TRACE(testing::Message() << bits << " bits " << size[0] << "x" << size[1]);
      const BITMAPINFOHEADER input = rgbHeader(size[0], size[1], bits);
      Compression compression(input);
      ASSERT_TRUE(compression.begun());
      EXPECT_EQ(kZmbv, compression.output().biCompression);
      BITMAPINFOHEADER decoded{};
      ASSERT_EQ(ICERR_OK, ICDecompressGetFormat(compression.hic(), &compression.output(), &decoded));
      EXPECT_EQ(bits, decoded.biBitCount);
      Decompression decompression(compression.output(), decoded);
      ASSERT_TRUE(decompression.begun());
      const auto pictures = zmbvtest::mixedSequence(size[0], size[1], 10);
      for (size_t i = 0; i < pictures.size(); ++i) {
        const auto dib = zmbvtest::toDib(pictures[i], bits, true);
        const CompressedFrame frame = compression.compress(dib, i % 4 == 0);
        ASSERT_EQ(ICERR_OK, frame.result) << i;
        EXPECT_EQ(i % 4 == 0 ? static_cast<DWORD>(AVIIF_KEYFRAME) : 0u, frame.flags) << i;
        std::vector<uint8_t> out;
        ASSERT_EQ(ICERR_OK, decompression.decompress(frame.bytes, out)) << i;
        ASSERT_EQ(dib, out) << i;
      }
    }
  }
}

TEST(ZmbvCodec, DecodesToTopDownAndOtherDepth) {
  const auto pictures = zmbvtest::mixedSequence(23, 9, 5);
  Compression compression(rgbHeader(23, 9, 24));
  const BITMAPINFOHEADER topDown32 = rgbHeader(23, -9, 32);
  ASSERT_EQ(ICERR_OK, ICDecompressQuery(compression.hic(), &compression.output(), &topDown32));
  Decompression decompression(compression.output(), topDown32);
  ASSERT_TRUE(decompression.begun());
  for (size_t i = 0; i < pictures.size(); ++i) {
    std::vector<uint8_t> out;
    ASSERT_EQ(ICERR_OK, decompression.decompress(
                            compression.compress(zmbvtest::toDib(pictures[i], 24, true), i == 0).bytes, out));
    EXPECT_EQ(zmbvtest::toDib(pictures[i], 32, false), out) << i;
  }
}

TEST(ZmbvCodec, QualitySetsTheZlibLevel) {
  const auto dib = zmbvtest::toDib(zmbvtest::gradientPicture(40, 30, 1), 24, true);
  // The key frame's zlib header (bytes 7 and 8) carries FLEVEL: 0 for level 1, 1 for
  // levels 2-5, 2 for 6, 3 for 7-9.
  const std::pair<DWORD, int> cases[] = {{0, 0}, {ICQUALITY_DEFAULT, 0}, {5000, 1}, {6250, 2}, {10000, 3}};
  for (const auto& [quality, flevel] : cases) {
    Compression compression(rgbHeader(40, 30, 24));
    const CompressedFrame frame = compression.compress(dib, true, quality);
    ASSERT_EQ(ICERR_OK, frame.result);
    ASSERT_GT(frame.bytes.size(), 9u);
    EXPECT_EQ(flevel, frame.bytes[8] >> 6) << "quality " << quality;
  }
}

TEST(ZmbvCodec, StateRoundTripsAndSteersTheMotionSearch) {
  Codec codec(ICMODE_COMPRESS);
  const DWORD size = ICGetStateSize(codec.get());
  ASSERT_EQ(12u, size);
  std::vector<uint8_t> state(size);
  ICGetState(codec.get(), state.data(), size);

  // Another instance takes it; foreign or short state is refused and changes nothing.
  Codec other(ICMODE_COMPRESS);
  EXPECT_EQ(size, static_cast<DWORD>(ICSetState(other.get(), state.data(), size)));
  std::vector<uint8_t> foreign(state);
  foreign[0] ^= 0xFF;
  EXPECT_EQ(0, ICSetState(other.get(), foreign.data(), size));
  EXPECT_EQ(0, ICSetState(other.get(), state.data(), size - 1));
  std::vector<uint8_t> back(size);
  ICGetState(other.get(), back.data(), size);
  EXPECT_EQ(state, back);

  // Search range 0 (the third field): moving shapes cost more.
  std::vector<uint8_t> inPlace(state);
  std::memset(inPlace.data() + 8, 0, 4);
  auto deltaBytes = [&](const std::vector<uint8_t>& withState) {
    const BITMAPINFOHEADER input = rgbHeader(128, 96, 24);
    Compression compression(input);
    ICCompressEnd(compression.hic());
    ICSetState(compression.hic(), const_cast<uint8_t*>(withState.data()), size);
    BITMAPINFOHEADER output = compression.output();
    ICCompressBegin(compression.hic(), &input, &output);
    size_t total = 0;
    for (int i = 0; i < 5; ++i)
      total +=
          compression
              .compress(zmbvtest::toDib(zmbvtest::squarePicture(128, 96, 10 + 6 * i, 20 + 2 * i, 40), 24, true), i == 0)
              .bytes.size() *
          (i > 0);
    return total;
  };
  EXPECT_LT(deltaBytes(state) * 2, deltaBytes(inPlace));

  // No state: back to the default.
  ICSetState(other.get(), inPlace.data(), size);
  ICSetState(other.get(), nullptr, 0);
  ICGetState(other.get(), back.data(), size);
  EXPECT_EQ(state, back);
}

TEST(ZmbvCodec, RefusesFormatsItCannotTake) {
  Codec codec(ICMODE_COMPRESS);
  BITMAPINFOHEADER wrong[6];
  wrong[0] = rgbHeader(32, 32, 16);
  wrong[1] = rgbHeader(32, 32, 8);
  wrong[2] = rgbHeader(0, 32, 24);
  wrong[3] = rgbHeader(32, 0, 24);
  wrong[4] = rgbHeader(9000, 32, 24);
  wrong[5] = rgbHeader(32, 32, 24);
  wrong[5].biCompression = BI_RLE8;
  for (const auto& format : wrong) EXPECT_EQ(ICERR_BADFORMAT, ICCompressQuery(codec.get(), &format, nullptr));
  const BITMAPINFOHEADER good = rgbHeader(32, 32, 24);
  EXPECT_EQ(ICERR_OK, ICCompressQuery(codec.get(), &good, nullptr));
  BITMAPINFOHEADER otherSize{};
  const BITMAPINFOHEADER wider = rgbHeader(33, 32, 24);
  ICCompressGetFormat(codec.get(), &wider, &otherSize);
  EXPECT_EQ(ICERR_BADFORMAT, ICCompressQuery(codec.get(), &good, &otherSize));
  EXPECT_EQ(ICERR_BADFORMAT, ICDecompressQuery(codec.get(), &good, nullptr));
}

TEST(ZmbvCodec, RefusesFramesThatDoNotFit) {
  const BITMAPINFOHEADER input = rgbHeader(31, 17, 24);
  const auto pictures = zmbvtest::mixedSequence(31, 17, 3);
  {
    Codec unbegun(ICMODE_COMPRESS);
    BITMAPINFOHEADER output{};
    ICCompressGetFormat(unbegun.get(), &input, &output);
    std::vector<uint8_t> buffer(ICCompressGetSize(unbegun.get(), &input, &output));
    DWORD flags = 0, ckid = 0;
    const auto dib = zmbvtest::toDib(pictures[0], 24, true);
    EXPECT_NE(ICERR_OK,
              static_cast<LRESULT>(ICCompress(unbegun.get(), ICCOMPRESS_KEYFRAME, &output, buffer.data(),
                                              const_cast<BITMAPINFOHEADER*>(&input), const_cast<uint8_t*>(dib.data()),
                                              &ckid, &flags, 0, 0, ICQUALITY_DEFAULT, nullptr, nullptr)));
  }
  Compression compression(input);
  const BITMAPINFOHEADER larger = rgbHeader(32, 17, 24);
  EXPECT_EQ(ICERR_BADFORMAT,
            compression.compress(zmbvtest::toDib(zmbvtest::flatPicture(32, 17, 1), 24, true), true, 0, &larger).result);
  std::vector<CompressedFrame> frames;
  for (size_t i = 0; i < pictures.size(); ++i)
    frames.push_back(compression.compress(zmbvtest::toDib(pictures[i], 24, true), i == 0));

  BITMAPINFOHEADER decoded{};
  ICDecompressGetFormat(compression.hic(), &compression.output(), &decoded);
  Decompression decompression(compression.output(), decoded);
  std::vector<uint8_t> out;
  EXPECT_NE(ICERR_OK, decompression.decompress({}, out)) << "nothing to repeat yet";
  EXPECT_NE(ICERR_OK, decompression.decompress(frames[1].bytes, out)) << "delta frame first";
  std::vector<uint8_t> truncated(frames[0].bytes.begin(), frames[0].bytes.begin() + frames[0].bytes.size() / 3);
  EXPECT_NE(ICERR_OK, decompression.decompress(truncated, out));
  EXPECT_TRUE(std::all_of(out.begin(), out.end(), [](uint8_t b) { return b == 0xEE; })) << "output touched";
  ASSERT_EQ(ICERR_OK, decompression.decompress(frames[0].bytes, out));
  // An empty frame repeats the picture.
  ASSERT_EQ(ICERR_OK, decompression.decompress({}, out));
  EXPECT_EQ(zmbvtest::toDib(pictures[0], 24, true), out);
}

}  // namespace
