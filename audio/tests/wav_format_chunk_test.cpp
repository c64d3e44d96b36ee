#include "wav_format_chunk.h"

#include <gtest/gtest.h>

#include <vector>

#include "byte_writer.h"

namespace {

using mvqtest::Bytes;
using mvqtest::putU16;
using mvqtest::putU32;

Bytes formatHead(uint16_t tag, uint16_t channels, uint32_t rate, uint16_t align, uint16_t bits) {
  Bytes out;
  putU16(out, tag);
  putU16(out, channels);
  putU32(out, rate);
  putU32(out, rate * align);
  putU16(out, align);
  putU16(out, bits);
  return out;
}

// A chunk of exactly its bytes on the heap, so that a read past it is caught.
bool read(const Bytes& chunk, Bytes& format) { return readWavFormatChunk(chunk.data(), chunk.size(), format); }

Bytes withExtra(Bytes head, uint16_t cbSize, size_t extraBytes) {
  putU16(head, cbSize);
  for (size_t i = 0; i < extraBytes; ++i) head.push_back(static_cast<uint8_t>(0xA0 + i));
  return head;
}

uint16_t cbSizeOf(const Bytes& format) { return static_cast<uint16_t>(format[16] | format[17] << 8); }

TEST(WavFormatChunk, PcmKeepsSixteenBytesAndNoExtraWhateverTheChunkSays) {
  const Bytes head = formatHead(1, 2, 44100, 4, 16);
  Bytes format;
  ASSERT_TRUE(read(head, format));
  EXPECT_EQ(withExtra(head, 0, 0), format);
  // An 18-byte PCM chunk with a stray cbSize, and one with bytes after it.
  ASSERT_TRUE(read(withExtra(head, 22, 22), format));
  EXPECT_EQ(withExtra(head, 0, 0), format);
}

TEST(WavFormatChunk, OtherTagsKeepExactlyTheirExtraBytes) {
  const Bytes head = formatHead(0x11, 1, 22050, 512, 4);
  Bytes format;
  ASSERT_TRUE(read(withExtra(head, 2, 2), format));
  EXPECT_EQ(withExtra(head, 2, 2), format);
  // Bytes of the chunk past the extra ones are not part of the format.
  ASSERT_TRUE(read(withExtra(head, 2, 9), format));
  EXPECT_EQ(withExtra(head, 2, 2), format);
  // The largest extra part there can be.
  ASSERT_TRUE(read(withExtra(head, 0xFFFF, 0xFFFF), format));
  ASSERT_EQ(kWavFormatChunkMostUsed, format.size());
  EXPECT_EQ(0xFFFF, cbSizeOf(format));
}

TEST(WavFormatChunk, ExtraBytesPastTheChunksEndAreRefused) {
  const Bytes head = formatHead(0x55, 2, 44100, 1, 0);
  Bytes format{1, 2, 3};
  EXPECT_FALSE(read(withExtra(head, 12, 11), format));
  EXPECT_TRUE(format.empty());
  EXPECT_FALSE(read(withExtra(head, 0xFFFF, 0), format));
}

TEST(WavFormatChunk, ANonPcmChunkWithoutCbSizeHasNoExtraBytes) {
  Bytes format;
  const Bytes floats = formatHead(3, 2, 48000, 8, 32);  // 16 bytes, as float files are often written
  ASSERT_TRUE(read(floats, format));
  EXPECT_EQ(withExtra(floats, 0, 0), format);
  Bytes seventeen = floats;
  seventeen.push_back(0x7F);
  ASSERT_TRUE(read(seventeen, format));
  EXPECT_EQ(withExtra(floats, 0, 0), format);
}

TEST(WavFormatChunk, ChunksShorterThanSixteenBytesOrMissingAreRefused) {
  Bytes format;
  Bytes fourteen = formatHead(1, 2, 44100, 4, 16);
  fourteen.resize(14);
  EXPECT_FALSE(read(fourteen, format));
  EXPECT_FALSE(readWavFormatChunk(nullptr, 0, format));
  EXPECT_FALSE(read(Bytes{}, format));
}

}  // namespace
