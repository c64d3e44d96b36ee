// Buttons drawn by the whole player in their up state: the up records only,
// in their depths' order, each with its matrix and colour transform inside
// the button's own placement; DefineButtonCxform for DefineButton's records;
// and clips in a button playing on.
#include <gtest/gtest.h>

#include "button_writer.h"
#include "player_fixture.h"
#include "tags/button.h"

namespace {

using mvqtest::Matrix;
using mvqtest::Rect;
using mvqtest::Rgba;
using playertest::ButtonRecordDraft;
using playertest::Picture;

constexpr int kT = 20;  // twips per pixel
constexpr uint16_t kRed = 1, kBlue = 2, kGreen = 3, kSprite = 4, kButton = 10;

// A white 60 x 60 stage with a red square of 20 pixels, a blue one of 30
// and a green one over the whole stage.
mvqtest::SwfBuilder stage() {
  mvqtest::SwfBuilder b;
  b.version(8).stage(Rect::pixels(60, 60)).background(255, 255, 255);
  b.defineRectShape(kRed, Rect::pixels(20, 20), Rgba{255, 0, 0});
  b.defineRectShape(kBlue, Rect::pixels(30, 30), Rgba{0, 0, 255});
  b.defineRectShape(kGreen, Rect::pixels(60, 60), Rgba{0, 255, 0});
  return b;
}

Picture show(mvqtest::SwfBuilder& b, const mvqtest::PlaceObject2& place, int ticks = 0) {
  b.placeObject2(place).showFrame().showFrame();
  swf::MoviePlayer p;
  playertest::loadInto(p, b.finish());
  for (int i = 0; i < ticks; ++i) p.tick();
  return playertest::render(p, 60, 60);
}

mvqtest::PlaceObject2 placeButton(const Matrix& m = {}) {
  mvqtest::PlaceObject2 place;
  place.character = kButton;
  place.matrix = m;
  return place;
}

void expectColor(const Picture& pic, int x, int y, int r, int g, int b) {
  EXPECT_EQ(pic.r(x, y), r) << x << "," << y;
  EXPECT_EQ(pic.g(x, y), g) << x << "," << y;
  EXPECT_EQ(pic.b(x, y), b) << x << "," << y;
}

TEST(Button, TheUpStateShowsItsRecordsInDepthOrder) {
  mvqtest::SwfBuilder b = stage();
  std::vector<ButtonRecordDraft> records = {
      {swf::ButtonUp, kRed, 2, Matrix::translate(10 * kT, 10 * kT)},
      {swf::ButtonUp, kBlue, 1, Matrix()},
      {swf::ButtonOver | swf::ButtonDown, kGreen, 3, Matrix()},
      {swf::ButtonHitTest, kGreen, 4, Matrix()},
  };
  b.tag(playertest::kDefineButton2, playertest::button2Body(kButton, records, {}));
  Picture pic = show(b, placeButton(Matrix::translate(5 * kT, 5 * kT)));
  expectColor(pic, 2, 2, 255, 255, 255);
  expectColor(pic, 7, 7, 0, 0, 255);
  expectColor(pic, 14, 20, 0, 0, 255);
  expectColor(pic, 15, 15, 255, 0, 0);
  expectColor(pic, 34, 34, 255, 0, 0);
  expectColor(pic, 36, 20, 255, 255, 255);  // over, down and hit-test records stay hidden
  expectColor(pic, 50, 50, 255, 255, 255);
}

TEST(Button, RecordColourTransformsComposeWithThePlacement) {
  mvqtest::SwfBuilder b = stage();
  ButtonRecordDraft red{swf::ButtonUp, kRed, 1, Matrix()};
  red.cx.multR = 0, red.cx.addG = 255;  // red becomes green
  b.tag(playertest::kDefineButton2, playertest::button2Body(kButton, {red}, {}));
  mvqtest::PlaceObject2 place = placeButton();
  mvqtest::ColorTransform outer;
  outer.addB = 255;
  place.colorTransform = outer;
  Picture pic = show(b, place);
  expectColor(pic, 10, 10, 0, 255, 255);
  expectColor(pic, 30, 30, 255, 255, 255);
}

TEST(Button, ButtonCxformColoursDefineButtonsOnly) {
  mvqtest::ColorTransform toBlue;
  toBlue.multR = 0, toBlue.addB = 255;
  mvqtest::SwfBuilder b = stage();
  b.tag(playertest::kDefineButton, playertest::buttonBody(kButton, {{swf::ButtonUp, kRed, 1, Matrix()}}, {0}));
  b.tag(playertest::kDefineButtonCxform, playertest::buttonCxformBody(kButton, toBlue));
  expectColor(show(b, placeButton()), 10, 10, 0, 0, 255);

  mvqtest::SwfBuilder b2 = stage();
  const ButtonRecordDraft red{swf::ButtonUp, kRed, 1, Matrix()};
  b2.tag(playertest::kDefineButton2, playertest::button2Body(kButton, {red}, {}));
  b2.tag(playertest::kDefineButtonCxform, playertest::buttonCxformBody(kButton, toBlue));
  expectColor(show(b2, placeButton()), 10, 10, 255, 0, 0);  // DefineButton2 records keep their own
}

TEST(Button, ClipsInTheUpStatePlay) {
  mvqtest::SwfBuilder b = stage();
  mvqtest::TagStream clip;
  clip.placeObject2(kRed, 1).showFrame().removeObject2(1).placeObject2(kBlue, 1).showFrame();
  b.defineSprite(kSprite, clip);
  const ButtonRecordDraft sprite{swf::ButtonUp, kSprite, 1, Matrix()};
  b.tag(playertest::kDefineButton2, playertest::button2Body(kButton, {sprite}, {}));
  expectColor(show(b, placeButton()), 10, 10, 255, 0, 0);
  mvqtest::SwfBuilder again = stage();
  again.defineSprite(kSprite, clip);
  again.tag(playertest::kDefineButton2, playertest::button2Body(kButton, {sprite}, {}));
  expectColor(show(again, placeButton(), 1), 10, 10, 0, 0, 255);
}

}  // namespace
