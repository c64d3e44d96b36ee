// DefineButton, DefineButton2 and DefineButtonCxform bodies as the format
// lays them out: records with their states, depths, matrices, colour
// transforms and blend modes, and the actions with their conditions.
#include <gtest/gtest.h>

#include "button_writer.h"
#include "tags/button.h"

namespace {

using playertest::ButtonRecordDraft;

std::vector<ButtonRecordDraft> threeRecords() {
  ButtonRecordDraft up{swf::ButtonUp, 5, 3, mvqtest::Matrix::translate(200, -40)};
  up.cx.multR = 0, up.cx.addG = 100;
  ButtonRecordDraft over{swf::ButtonOver, 6, 1};
  ButtonRecordDraft hit{swf::ButtonUp | swf::ButtonHitTest, 7, 2};
  hit.blendMode = 3;
  return {up, over, hit};
}

TEST(ButtonParser, Button2RecordsAndConditionActions) {
  mvqtest::Bytes click = {0x07, 0x00}, roll = {0x06, 0x04, 0x00};  // stop / play, nextFrame
  mvqtest::Bytes body = playertest::button2Body(
      9, threeRecords(), {{swf::OverDownToOverUp, click}, {swf::IdleToOverUp | (65 << 1), roll}}, true);
  swf::Button b;
  ASSERT_TRUE(swf::parseButton(body.data(), body.size(), 2, b));
  EXPECT_EQ(b.id, 9);
  EXPECT_TRUE(b.trackAsMenu);
  ASSERT_EQ(b.records.size(), 3u);
  EXPECT_EQ(b.records[0].states, swf::ButtonUp);
  EXPECT_EQ(b.records[0].characterId, 5);
  EXPECT_EQ(b.records[0].depth, 3);
  EXPECT_EQ(b.records[0].matrix.tx, 200);
  EXPECT_EQ(b.records[0].matrix.ty, -40);
  EXPECT_EQ(b.records[0].colorTransform.rMult, 0);
  EXPECT_EQ(b.records[0].colorTransform.gAdd, 100);
  EXPECT_EQ(b.records[1].states, swf::ButtonOver);
  EXPECT_EQ(b.records[2].states, swf::ButtonUp | swf::ButtonHitTest);
  EXPECT_EQ(b.records[2].blendMode, 3);
  ASSERT_EQ(b.actions.size(), 2u);
  EXPECT_EQ(b.actions[0].conditions, swf::OverDownToOverUp);
  EXPECT_EQ(mvqtest::Bytes(b.actions[0].actions, b.actions[0].actions + b.actions[0].size), click);
  EXPECT_EQ(b.actions[1].conditions & swf::KeyPressMask, 65 << 1);
  EXPECT_TRUE(b.actions[1].conditions & swf::IdleToOverUp);
  EXPECT_EQ(mvqtest::Bytes(b.actions[1].actions, b.actions[1].actions + b.actions[1].size), roll);
}

TEST(ButtonParser, Button1HasNoColourTransformsAndOneClickAction) {
  mvqtest::Bytes actions = {0x06, 0x00};
  mvqtest::Bytes body = playertest::buttonBody(4, threeRecords(), actions);
  swf::Button b;
  ASSERT_TRUE(swf::parseButton(body.data(), body.size(), 1, b));
  ASSERT_EQ(b.records.size(), 3u);
  EXPECT_TRUE(b.records[0].colorTransform.isIdentity()) << "DefineButton's records carry none";
  EXPECT_EQ(b.records[2].characterId, 7);
  ASSERT_EQ(b.actions.size(), 1u);
  EXPECT_EQ(b.actions[0].conditions, swf::OverDownToOverUp);
  EXPECT_EQ(mvqtest::Bytes(b.actions[0].actions, b.actions[0].actions + b.actions[0].size), actions);

  mvqtest::ColorTransform cx;
  cx.multG = 128, cx.addB = -20;
  mvqtest::Bytes cxBody = playertest::buttonCxformBody(4, cx);
  uint16_t id = 0;
  swf::ColorTransform parsed;
  ASSERT_TRUE(swf::parseButtonCxform(cxBody.data(), cxBody.size(), id, parsed));
  EXPECT_EQ(id, 4);
  EXPECT_EQ(parsed.gMult, 128);
  EXPECT_EQ(parsed.bAdd, -20);
  EXPECT_EQ(parsed.aMult, 256);
}

TEST(ButtonParser, DamagedBodiesKeepWhatWasRead) {
  mvqtest::Bytes body = playertest::button2Body(9, threeRecords(), {{swf::OverDownToOverUp, {0x07, 0x00}}});
  for (size_t cut = 0; cut < body.size(); ++cut) {
    swf::Button b;
    bool ok = swf::parseButton(body.data(), cut, 2, b);
    EXPECT_EQ(ok, cut >= 5) << cut;
    EXPECT_LE(b.records.size(), 3u);
    for (const swf::ButtonAction& a : b.actions) EXPECT_LE(a.actions + a.size, body.data() + cut);
  }
  // An action offset pointing past the end gives no actions.
  body[3] = 0xFF, body[4] = 0x7F;
  swf::Button b;
  ASSERT_TRUE(swf::parseButton(body.data(), body.size(), 2, b));
  EXPECT_TRUE(b.actions.empty());
  EXPECT_EQ(b.records.size(), 3u);
}

}  // namespace
