// The ZMBV bitstream on its own: round trips, key frames, motion, the zlib level
// and damaged frames.
#include <gtest/gtest.h>

#include <cstdint>
#include <random>
#include <vector>

#include "core/frame_decoder.h"
#include "core/frame_encoder.h"
#include "core/zmbv_format.h"
#include "test_pictures.h"

namespace {

using zmbv::FrameDecoder;
using zmbv::FrameEncoder;
using zmbv::Picture;
using zmbvtest::mixedSequence;
using zmbvtest::squarePicture;

using Frame = std::vector<uint8_t>;

struct Encoded {
  Frame bytes;
  bool key = false;
};

Encoded encodeOne(FrameEncoder& encoder, const Picture& picture, bool key, int level = 6) {
  Encoded result;
  result.bytes.resize(FrameEncoder::maxFrameSize(picture.width, picture.height));
  encoder.next() = picture;
  const size_t size = encoder.encode(key, level, result.bytes.data(), result.bytes.size(), result.key);
  result.bytes.resize(size);
  return result;
}

std::vector<Encoded> encodeAll(const std::vector<Picture>& pictures, int keyEvery, int searchRange = zmbv::kMaxMotion) {
  FrameEncoder encoder(pictures[0].width, pictures[0].height, searchRange);
  std::vector<Encoded> frames;
  for (size_t i = 0; i < pictures.size(); ++i) frames.push_back(encodeOne(encoder, pictures[i], i % keyEvery == 0));
  return frames;
}

TEST(FrameCodec, SequencesRoundTripExactlyAtEverySize) {
  const int sizes[][2] = {{1, 1}, {16, 16}, {17, 13}, {33, 1}, {1, 40}, {97, 61}, {160, 120}};
  for (const auto& size : sizes) {
    SCOPED_TRACE(testing::Message() << size[0] << "x" << size[1]);
    const auto pictures = mixedSequence(size[0], size[1], 20);
    const auto frames = encodeAll(pictures, 7);
    FrameDecoder decoder(size[0], size[1]);
    for (size_t i = 0; i < frames.size(); ++i) {
      ASSERT_FALSE(frames[i].bytes.empty()) << "frame " << i;
      ASSERT_TRUE(decoder.decode(frames[i].bytes.data(), frames[i].bytes.size())) << "frame " << i;
      ASSERT_EQ(pictures[i].pixels, decoder.picture().pixels) << "frame " << i;
    }
  }
}

TEST(FrameCodec, KeyFramesComeWhenAskedAndAtTheStart) {
  const auto pictures = mixedSequence(40, 30, 12);
  const auto frames = encodeAll(pictures, 5);
  for (size_t i = 0; i < frames.size(); ++i) {
    const bool key = i % 5 == 0;
    EXPECT_EQ(key, frames[i].key) << i;
    EXPECT_EQ(key, (frames[i].bytes[0] & zmbv::kKeyFrameFlag) != 0) << i;
  }
  const Frame& first = frames[0].bytes;
  ASSERT_GE(first.size(), zmbv::kKeyHeaderSize);
  EXPECT_EQ((Frame{1, 0, 1, 1, 8, 16, 16}), Frame(first.begin(), first.begin() + 7));
}

TEST(FrameCodec, DecoderStartsAtAnyKeyFrame) {
  const auto pictures = mixedSequence(50, 20, 11);
  const auto frames = encodeAll(pictures, 4);
  FrameDecoder decoder(50, 20);
  for (size_t i = 4; i < frames.size(); ++i) {
    ASSERT_TRUE(decoder.decode(frames[i].bytes.data(), frames[i].bytes.size()));
    EXPECT_EQ(pictures[i].pixels, decoder.picture().pixels) << i;
  }
}

TEST(FrameCodec, MovingShapeCostsLessWithMotionSearch) {
  std::vector<Picture> pictures;
  for (int i = 0; i < 6; ++i) pictures.push_back(squarePicture(160, 120, 20 + 5 * i, 30 + 3 * i, 48));
  const auto searched = encodeAll(pictures, 100);
  const auto inPlace = encodeAll(pictures, 100, 0);
  size_t searchedBytes = 0, inPlaceBytes = 0;
  for (size_t i = 1; i < pictures.size(); ++i) {
    searchedBytes += searched[i].bytes.size();
    inPlaceBytes += inPlace[i].bytes.size();
  }
  EXPECT_LT(searchedBytes * 2, inPlaceBytes);
  // An unchanged picture is a few bytes: the vector list of zeros.
  FrameEncoder encoder(160, 120, zmbv::kMaxMotion);
  encodeOne(encoder, pictures[0], true);
  EXPECT_LT(encodeOne(encoder, pictures[0], false).bytes.size(), 40u);
}

// The frame's work is split between two threads at a block row: the bytes
// must not depend on which finishes first, and shapes that cross the split
// must still come back exactly.
TEST(FrameCodec, HalvesGiveTheSameBytesEveryRun) {
  std::vector<Picture> pictures;
  for (int i = 0; i < 12; ++i) pictures.push_back(squarePicture(96, 100, 10 + 2 * i, 20 + 4 * i, 40));
  const auto first = encodeAll(pictures, 100);
  for (int run = 0; run < 3; ++run) {
    const auto again = encodeAll(pictures, 100);
    for (size_t i = 0; i < pictures.size(); ++i) ASSERT_EQ(first[i].bytes, again[i].bytes) << run << " " << i;
  }
  FrameDecoder decoder(96, 100);
  for (size_t i = 0; i < first.size(); ++i) {
    ASSERT_TRUE(decoder.decode(first[i].bytes.data(), first[i].bytes.size())) << i;
    ASSERT_EQ(pictures[i].pixels, decoder.picture().pixels) << i;
  }
}

TEST(FrameCodec, ReadFrameTakesEveryRowOfTheDib) {
  for (int height : {1, 15, 16, 17, 40, 61}) {
    const Picture picture = zmbvtest::gradientPicture(21, height, height);
    for (int bits : {24, 32}) {
      for (bool bottomUp : {true, false}) {
        SCOPED_TRACE(testing::Message() << height << " rows, " << bits << " bits, bottom-up " << bottomUp);
        FrameEncoder encoder(21, height, 4);
        const auto dib = zmbvtest::toDib(picture, bits, bottomUp);
        encoder.readFrame(dib.data(), zmbv::DibLayout{21, height, bits, bottomUp});
        EXPECT_EQ(picture.pixels, encoder.next().pixels);
      }
    }
  }
}

TEST(FrameCodec, LevelShowsInTheKeyFramesZlibHeader) {
  const Picture picture = zmbvtest::gradientPicture(64, 48, 3);
  // The zlib header's FLEVEL: 0 fastest (1), 1 fast (2-5), 2 default (6), 3 best (7-9).
  const int expected[][2] = {{1, 0}, {3, 1}, {6, 2}, {9, 3}};
  for (const auto& pair : expected) {
    FrameEncoder encoder(64, 48, zmbv::kMaxMotion);
    const Frame frame = encodeOne(encoder, picture, true, pair[0]).bytes;
    ASSERT_GT(frame.size(), 9u);
    EXPECT_EQ(pair[1], frame[8] >> 6) << "level " << pair[0];
  }
}

TEST(FrameCodec, LevelChangeWaitsForTheNextKeyFrame) {
  const auto pictures = mixedSequence(30, 30, 6);
  FrameEncoder encoder(30, 30, zmbv::kMaxMotion);
  FrameDecoder decoder(30, 30);
  for (size_t i = 0; i < pictures.size(); ++i) {
    const Encoded frame = encodeOne(encoder, pictures[i], i == 3, i < 2 ? 1 : 9);
    ASSERT_TRUE(decoder.decode(frame.bytes.data(), frame.bytes.size())) << i;
    ASSERT_EQ(pictures[i].pixels, decoder.picture().pixels) << i;
    if (i == 3) {
      EXPECT_EQ(3, frame.bytes[8] >> 6);
    }
  }
}

TEST(FrameCodec, RefusesDeltaWithoutKeyAndTruncatedFrames) {
  const auto pictures = mixedSequence(33, 17, 4);
  const auto frames = encodeAll(pictures, 100);
  FrameDecoder decoder(33, 17);
  EXPECT_FALSE(decoder.decode(frames[1].bytes.data(), frames[1].bytes.size()));
  EXPECT_FALSE(decoder.decode(frames[0].bytes.data(), frames[0].bytes.size() / 2));
  EXPECT_FALSE(decoder.decode(frames[0].bytes.data(), 3));
  EXPECT_FALSE(decoder.decode(nullptr, 0));
  // Whole again from the key frame on.
  ASSERT_TRUE(decoder.decode(frames[0].bytes.data(), frames[0].bytes.size()));
  EXPECT_FALSE(decoder.decode(frames[1].bytes.data(), frames[1].bytes.size() - 4));
  EXPECT_FALSE(decoder.decode(frames[2].bytes.data(), frames[2].bytes.size())) << "stream out of step after a refusal";
}

TEST(FrameCodec, RefusesForeignHeaders) {
  const auto frames = encodeAll(mixedSequence(20, 20, 1), 1);
  const size_t fields[] = {1, 2, 3, 4, 5, 6};
  for (size_t field : fields) {
    Frame frame = frames[0].bytes;
    frame[field] = field == 3 ? 7 : (field >= 5 ? 0 : frame[field] + 1);
    FrameDecoder decoder(20, 20);
    EXPECT_FALSE(decoder.decode(frame.data(), frame.size())) << "field " << field;
  }
  FrameDecoder wrongSize(21, 20);
  EXPECT_FALSE(wrongSize.decode(frames[0].bytes.data(), frames[0].bytes.size()));
}

TEST(FrameCodec, DamagedFramesNeverCrash) {
  const auto pictures = mixedSequence(45, 29, 8);
  const auto frames = encodeAll(pictures, 4);
  std::mt19937 random(7);
  for (int round = 0; round < 300; ++round) {
    FrameDecoder decoder(45, 29);
    for (const auto& encoded : frames) {
      Frame frame = encoded.bytes;
      const int flips = random() % 4;
      for (int k = 0; k < flips; ++k) frame[random() % frame.size()] ^= static_cast<uint8_t>(1 + random() % 255);
      frame.resize(frame.size() - random() % (frame.size() / 8 + 1));
      decoder.decode(frame.data(), frame.size());
    }
  }
}

TEST(FrameCodec, UncompressedFramesAreReadToo) {
  // Compression type 0: the body is the raw picture, and delta frames are raw as well.
  const Picture picture = zmbvtest::gradientPicture(5, 3, 1);
  Frame key = {1, 0, 1, 0, 8, 4, 4};
  const auto* bytes = reinterpret_cast<const uint8_t*>(picture.pixels.data());
  key.insert(key.end(), bytes, bytes + picture.pixels.size() * 4);
  FrameDecoder decoder(5, 3);
  ASSERT_TRUE(decoder.decode(key.data(), key.size()));
  EXPECT_EQ(picture.pixels, decoder.picture().pixels);
  // Two blocks of 4x4: the first moved one pixel left (reads zero past the edge), the second kept.
  const Frame delta = {0, static_cast<uint8_t>(-1 * 2), 0, 0, 0};
  ASSERT_TRUE(decoder.decode(delta.data(), delta.size()));
  EXPECT_EQ(0u, decoder.picture().row(0)[0]);
  EXPECT_EQ(picture.row(2)[0], decoder.picture().row(2)[1]);
  EXPECT_EQ(picture.row(1)[4], decoder.picture().row(1)[4]);
}

TEST(DibPictures, RowsAndPaddingOfBothDepthsAndOrders) {
  const Picture picture = zmbvtest::gradientPicture(7, 5, 9);
  for (int bits : {24, 32}) {
    for (bool bottomUp : {true, false}) {
      const auto dib = zmbvtest::toDib(picture, bits, bottomUp);
      const size_t stride = bits == 24 ? 24 : 28;
      ASSERT_EQ(stride * 5, dib.size());
      const size_t topRow = bottomUp ? 4 * stride : 0;
      EXPECT_EQ(static_cast<uint8_t>(picture.row(0)[1] >> 16), dib[topRow + (bits / 8) + 2]);
      if (bits == 24) {
        EXPECT_EQ(0, dib[topRow + 21] | dib[topRow + 22] | dib[topRow + 23]);
      }
      EXPECT_EQ(picture.pixels, zmbvtest::fromDib(dib, 7, 5, bits, bottomUp).pixels);
    }
  }
}

}  // namespace
