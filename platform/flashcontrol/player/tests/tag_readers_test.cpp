// The tag-family readers at their edges: bodies cut short, stated sizes past
// the body, and the fields that follow a header landing where they should.
#include <gtest/gtest.h>

#include <vector>

#include "tags/control_tags.h"
#include "tags/define_bits.h"
#include "tags/define_sprite.h"

namespace {

using Bytes = std::vector<uint8_t>;
using swf::TagCode;

TEST(TagReaders, SpriteHeaderGivesIdFramesAndTheNestedTags) {
  Bytes body = {0x07, 0x00, 0x00, 0x00, 0x40, 0x00};  // id 7, 0 frames, a ShowFrame
  swf::SpriteTag s;
  ASSERT_TRUE(swf::readDefineSprite(body.data(), body.size(), s));
  EXPECT_EQ(s.id, 7);
  EXPECT_EQ(s.frameCount, 1);  // none declared plays as one
  EXPECT_EQ(s.tags, body.data() + 4);
  EXPECT_EQ(s.tagsSize, 2u);
  EXPECT_FALSE(swf::readDefineSprite(body.data(), 3, s));
}

TEST(TagReaders, ControlTagsRefuseShortBodies) {
  const Bytes colour = {0x12, 0x34, 0x56};
  uint32_t rgb = 0;
  EXPECT_FALSE(swf::readBackgroundColor(colour.data(), 2, rgb));
  ASSERT_TRUE(swf::readBackgroundColor(colour.data(), 3, rgb));
  EXPECT_EQ(rgb, 0x123456u);

  bool as3 = false;
  EXPECT_FALSE(swf::readFileAttributes(nullptr, 0, as3));
  const Bytes flags = {0x08};
  ASSERT_TRUE(swf::readFileAttributes(flags.data(), flags.size(), as3));
  EXPECT_TRUE(as3);

  uint16_t id = 0;
  EXPECT_FALSE(swf::readCharacterId(colour.data(), 1, id));
  const Bytes label = {'g', 'o'};  // no terminator
  EXPECT_EQ(swf::readFrameLabel(label.data(), label.size()), "go");
}

TEST(TagReaders, JpegLayoutsSplitImageAndAlpha) {
  // JPEG4: id, image size 2, deblocking, image, then the alpha plane.
  const Bytes body = {0x03, 0x00, 0x02, 0x00, 0x00, 0x00, 0x00, 0x01, 0xAA, 0xBB, 0xCC};
  swf::JpegBitmapTag t;
  ASSERT_TRUE(swf::readJpegBitmapTag(TagCode::DefineBitsJpeg4, body.data(), body.size(), t));
  EXPECT_EQ(t.id, 3);
  EXPECT_EQ(t.image, body.data() + 8);
  EXPECT_EQ(t.imageSize, 2u);
  EXPECT_EQ(t.zlibAlphaSize, 1u);
  EXPECT_FALSE(t.usesTables);
  // The same bytes as JPEG3 have no deblocking field: the image starts earlier.
  ASSERT_TRUE(swf::readJpegBitmapTag(TagCode::DefineBitsJpeg3, body.data(), body.size(), t));
  EXPECT_EQ(t.image, body.data() + 6);
  // A stated image size past the body is refused.
  EXPECT_FALSE(swf::readJpegBitmapTag(TagCode::DefineBitsJpeg4, body.data(), 9, t));
  ASSERT_TRUE(swf::readJpegBitmapTag(TagCode::DefineBits, body.data(), body.size(), t));
  EXPECT_TRUE(t.usesTables);
  EXPECT_EQ(t.imageSize, body.size() - 2);
}

TEST(TagReaders, LosslessHeaderReadsTheTableSizeOnlyWhenColourMapped) {
  Bytes mapped = {0x01, 0x00, swf::ColorMapped, 0x02, 0x00, 0x03, 0x00, 0x0F, 0x78};
  swf::LosslessBitmapTag t;
  ASSERT_TRUE(swf::readLosslessBitmapTag(TagCode::DefineBitsLossless2, mapped.data(), mapped.size(), t));
  EXPECT_EQ(t.width, 2);
  EXPECT_EQ(t.height, 3);
  EXPECT_EQ(t.tableSize, 16);
  EXPECT_TRUE(t.withAlpha);
  EXPECT_EQ(t.zlibData, mapped.data() + 8);
  EXPECT_FALSE(swf::readLosslessBitmapTag(TagCode::DefineBitsLossless, mapped.data(), 7, t));
  mapped[2] = swf::Rgb32;
  ASSERT_TRUE(swf::readLosslessBitmapTag(TagCode::DefineBitsLossless, mapped.data(), mapped.size(), t));
  EXPECT_EQ(t.tableSize, 0);
  EXPECT_EQ(t.zlibSize, 2u);
}

}  // namespace
