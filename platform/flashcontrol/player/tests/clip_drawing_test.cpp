// The drawing API (beginFill .. clear) and setMask as pictures and as the
// bounds scripts read.
#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "action_steps.h"
#include "player_fixture.h"
#include "swf_builder.h"

namespace {

using mvqtest::ActionBuilder;
using mvqtest::PushValue;
using mvqtest::SwfBuilder;
using playertest::Code;
using playertest::f64;
using playertest::i32;
using playertest::Picture;
using playertest::str;
using Lines = std::vector<std::string>;

constexpr int32_t kRed = 0xff0000, kBlue = 0x0000ff, kBlack = 0x000000;

// A method's argument: a value, or the variable of that name.
struct Arg {
  Arg(const PushValue& v) : value(v) {}  // NOLINT: values pass as they are
  PushValue value;
  bool variable = false;
};

Arg var(const std::string& name) {
  Arg a(str(name));
  a.variable = true;
  return a;
}

// A script over clips named by variables of the root.
class Script {
 public:
  // name = createEmptyMovieClip(name, depth) in the clip parent names (the
  // root when empty).
  Script& clip(const std::string& name, int depth, const std::string& parent = "") {
    if (parent.empty()) {
      a_.push({i32(depth), str(name), i32(2), str("createEmptyMovieClip")}).action(Code::CallFunction);
      a_.action(Code::Pop);
      return *this;
    }
    a_.push(str(name));
    call(parent, "createEmptyMovieClip", {str(name), i32(depth)}, false);
    a_.action(Code::SetVariable);
    return *this;
  }
  Script& call(const std::string& target, const std::string& method, const std::vector<Arg>& args, bool pop = true) {
    for (auto it = args.rbegin(); it != args.rend(); ++it) {
      a_.push(it->value);
      if (it->variable) a_.action(Code::GetVariable);
    }
    a_.push(i32(int32_t(args.size())));
    a_.push(str(target)).action(Code::GetVariable).push(str(method)).action(Code::CallMethod);
    if (pop) a_.action(Code::Pop);
    return *this;
  }
  Script& array(const std::string& name, const std::vector<PushValue>& values) {
    a_.push(str(name));
    for (auto it = values.rbegin(); it != values.rend(); ++it) a_.push(*it);
    a_.push(i32(int32_t(values.size()))).action(Code::InitArray).action(Code::SetVariable);
    return *this;
  }
  Script& object(const std::string& name, const std::vector<std::pair<std::string, PushValue>>& members) {
    a_.push(str(name));
    for (const auto& m : members) a_.push(str(m.first)).push(m.second);
    a_.push(i32(int32_t(members.size()))).action(Code::InitObject).action(Code::SetVariable);
    return *this;
  }
  // name = new flash.display.BitmapData(width, height, false, argb).
  Script& bitmap(const std::string& name, int width, int height, uint32_t argb) {
    a_.push(str(name)).push({f64(double(argb)), PushValue::boolean(false), i32(height), i32(width), i32(4)});
    a_.push(str("flash")).action(Code::GetVariable).push(str("display")).action(Code::GetMember);
    a_.push(str("BitmapData")).action(Code::NewMethod).action(Code::SetVariable);
    return *this;
  }
  Script& set(const std::string& target, const std::string& property, const PushValue& v) {
    a_.push(str(target)).action(Code::GetVariable).push(str(property)).push(v).action(Code::SetMember);
    return *this;
  }
  Script& traceProperty(const std::string& target, const std::string& property) {
    a_.push(str(target)).action(Code::GetVariable).push(str(property)).action(Code::GetMember).action(Code::Trace);
    return *this;
  }
  Script& traceCall(const std::string& target, const std::string& method, const std::vector<Arg>& args) {
    call(target, method, args, false);
    a_.action(Code::Trace);
    return *this;
  }
  // A rectangle x0, y0 .. x1, y1 in pixels, as one outline.
  Script& rect(const std::string& target, double x0, double y0, double x1, double y1) {
    call(target, "moveTo", {f64(x0), f64(y0)});
    call(target, "lineTo", {f64(x1), f64(y0)});
    call(target, "lineTo", {f64(x1), f64(y1)});
    call(target, "lineTo", {f64(x0), f64(y1)});
    return call(target, "lineTo", {f64(x0), f64(y0)});
  }
  Script& filledRect(const std::string& target, int32_t rgb, double x0, double y0, double x1, double y1) {
    call(target, "beginFill", {i32(rgb)});
    rect(target, x0, y0, x1, y1);
    return call(target, "endFill", {});
  }

  // jump: the script ends going to a second frame, which stops.
  mvqtest::Bytes movie(int version = 8, bool jump = false) const {
    SwfBuilder b;
    b.version(uint8_t(version)).stage(mvqtest::Rect::pixels(100, 100)).background(255, 255, 255);
    ActionBuilder a = a_;
    if (jump) a.gotoFrame(1).stop();
    b.doAction(a).showFrame();
    if (jump) b.showFrame();
    return b.finish();
  }
  Picture picture(int version = 8, bool jump = false) const {
    swf::MoviePlayer p;
    playertest::loadInto(p, movie(version, jump));
    if (jump) {
      p.tick();
      EXPECT_EQ(p.currentFrame(), 1);
    }
    return playertest::render(p, 100, 100);
  }
  Lines traces(int version = 8) const {
    swf::Movie m;
    EXPECT_TRUE(m.parse(movie(version)));
    Lines lines;
    swf::Stage stage(m, nullptr, nullptr, [&lines](const std::string& l) { lines.push_back(l); });
    return lines;
  }

 private:
  ActionBuilder a_;
};

bool isRed(const Picture& p, int x, int y) { return p.r(x, y) == 255 && p.g(x, y) == 0 && p.b(x, y) == 0; }
bool isBlue(const Picture& p, int x, int y) { return p.r(x, y) == 0 && p.g(x, y) == 0 && p.b(x, y) == 255; }
bool isWhite(const Picture& p, int x, int y) { return p.r(x, y) == 255 && p.g(x, y) == 255 && p.b(x, y) == 255; }

TEST(ClipDrawing, FillsAreDrawnBelowTheChildrenAndMoveWithTheClip) {
  Script s;
  s.clip("m", 1).filledRect("m", kRed, 10, 10, 50, 50);
  s.clip("n", 1, "m").filledRect("n", kBlue, 30, 30, 40, 40);
  s.set("m", "_x", f64(20)).set("m", "_yscale", f64(200));
  Picture p = s.picture();
  EXPECT_TRUE(isWhite(p, 25, 25));  // left of the moved square
  EXPECT_TRUE(isRed(p, 35, 25));    // 10..50 across from 30, 20..100 down
  EXPECT_TRUE(isRed(p, 65, 95));
  EXPECT_TRUE(isBlue(p, 55, 70));  // the child on top: 50..60 across, 60..80 down
  EXPECT_TRUE(isWhite(p, 75, 50));
}

TEST(ClipDrawing, EndFillClosesTheOutlineWithoutALine) {
  Script s;
  s.clip("m", 1).call("m", "lineStyle", {i32(4), i32(kBlue)}).call("m", "beginFill", {i32(kRed)});
  s.call("m", "moveTo", {i32(10), i32(10)}).call("m", "lineTo", {i32(90), i32(10)});
  s.call("m", "lineTo", {i32(90), i32(90)}).call("m", "endFill", {});
  Picture p = s.picture();
  EXPECT_TRUE(isRed(p, 80, 20));
  EXPECT_TRUE(isWhite(p, 20, 80));
  EXPECT_TRUE(isBlue(p, 50, 10));  // the lines drawn are stroked
  EXPECT_TRUE(isBlue(p, 90, 50));
  // The diagonal back to the start bounds the fill but has no line.
  EXPECT_LT(p.b(50, 50), 200);
  EXPECT_GT(p.r(50, 50), 200);
}

TEST(ClipDrawing, AFillNeverEndedIsDrawnClosed) {
  Script s;
  s.clip("m", 1).call("m", "beginFill", {i32(kRed)});
  s.call("m", "moveTo", {i32(10), i32(10)}).call("m", "lineTo", {i32(90), i32(10)});
  s.call("m", "lineTo", {i32(90), i32(90)});
  Picture p = s.picture();
  EXPECT_TRUE(isRed(p, 80, 20));
  EXPECT_TRUE(isWhite(p, 20, 80));
  EXPECT_TRUE(isWhite(p, 95, 50));
}

TEST(ClipDrawing, CurvesStartAtTheOriginWithoutMoveTo) {
  Script s;
  s.clip("m", 1).call("m", "lineStyle", {i32(6), i32(kBlue)});
  s.call("m", "curveTo", {i32(80), i32(0), i32(80), i32(80)});
  Picture p = s.picture();
  EXPECT_TRUE(isBlue(p, 60, 20));  // the curve's middle
  EXPECT_TRUE(isBlue(p, 79, 70));
  EXPECT_TRUE(isWhite(p, 40, 40));  // the chord is no part of a line
}

TEST(ClipDrawing, EndFillWithoutAFillAndLineStyleWithoutArgumentsDrawNothingMore) {
  Script s;
  s.clip("m", 1).call("m", "endFill", {}).call("m", "lineStyle", {i32(4), i32(kBlue)});
  s.call("m", "moveTo", {i32(10), i32(20)}).call("m", "lineTo", {i32(90), i32(20)});
  s.call("m", "lineStyle", {}).call("m", "moveTo", {i32(10), i32(60)}).call("m", "lineTo", {i32(90), i32(60)});
  Picture p = s.picture();
  EXPECT_TRUE(isBlue(p, 50, 20));
  EXPECT_TRUE(isWhite(p, 50, 60));
}

TEST(ClipDrawing, ClearDropsWhatWasDrawnAndTheLineStyle) {
  Script s;
  s.clip("m", 1).call("m", "lineStyle", {i32(4), i32(kBlack)}).filledRect("m", kRed, 0, 0, 100, 100);
  s.call("m", "clear", {}).filledRect("m", kBlue, 60, 60, 80, 80);
  Picture p = s.picture();
  EXPECT_TRUE(isWhite(p, 30, 30));
  EXPECT_TRUE(isBlue(p, 70, 70));
  EXPECT_TRUE(isWhite(p, 59, 70));  // no line came back with the new fill
  EXPECT_TRUE(isWhite(p, 58, 70));
}

TEST(ClipDrawing, ATransparentFillShowsNothingButCountsInBoundsAndHits) {
  Script s;
  s.clip("m", 1).call("m", "beginFill", {i32(kRed), i32(0)}).rect("m", 10, 20, 50, 80).call("m", "endFill", {});
  s.traceProperty("m", "_width").traceProperty("m", "_height");
  s.traceCall("m", "hitTest", {f64(30), f64(30), PushValue::boolean(true)});
  s.traceCall("m", "hitTest", {f64(70), f64(30), PushValue::boolean(true)});
  EXPECT_EQ(s.traces(), (Lines{"40", "60", "true", "false"}));
  Picture p = s.picture();
  EXPECT_TRUE(isWhite(p, 30, 50));
}

TEST(ClipDrawing, ShapeHitsFollowTheOutlineAndTheLinesNotTheBox) {
  Script s;
  s.clip("m", 1).call("m", "beginFill", {i32(kRed)}).call("m", "moveTo", {i32(10), i32(10)});
  s.call("m", "lineTo", {i32(90), i32(10)}).call("m", "lineTo", {i32(90), i32(90)}).call("m", "endFill", {});
  s.clip("k", 2).call("k", "lineStyle", {i32(10), i32(kBlue)}).call("k", "moveTo", {i32(10), i32(150)});
  s.call("k", "lineTo", {i32(90), i32(150)}).set("k", "_x", i32(100));
  const PushValue shape = PushValue::boolean(true);
  s.traceCall("m", "hitTest", {i32(80), i32(20), shape}).traceCall("m", "hitTest", {i32(20), i32(80), shape});
  s.traceCall("m", "hitTest", {i32(20), i32(80)});
  s.traceCall("k", "hitTest", {i32(150), i32(153), shape}).traceCall("k", "hitTest", {i32(150), i32(160), shape});
  s.traceCall("k", "hitTest", {i32(50), i32(150), shape});
  EXPECT_EQ(s.traces(), (Lines{"true", "false", "true", "true", "false", "false"}));
}

TEST(ClipDrawing, AHairlineStaysOnePixelWideWhenScaled) {
  auto drawn = [](int thickness) {
    Script s;
    s.clip("m", 1).call("m", "lineStyle", {i32(thickness), i32(kBlack)});
    s.call("m", "moveTo", {i32(10), f64(10.5)}).call("m", "lineTo", {i32(90), f64(10.5)});
    s.set("m", "_yscale", f64(400));
    return s.picture();
  };
  Picture hairline = drawn(0), scaled = drawn(1);
  // Both lie on row 42 (10.5 * 4); a one-pixel line grows to four.
  EXPECT_LT(hairline.r(50, 42), 128);
  EXPECT_TRUE(isWhite(hairline, 50, 40));
  EXPECT_TRUE(isWhite(hairline, 50, 44));
  EXPECT_LT(scaled.r(50, 40), 128);
  EXPECT_LT(scaled.r(50, 43), 128);
}

TEST(ClipDrawing, LinesAndBoundsReachHalfTheThicknessPastThePoints) {
  Script s;
  s.clip("m", 1).call("m", "lineStyle", {i32(10), i32(kBlack)}).rect("m", 20, 20, 60, 40);
  s.traceProperty("m", "_width").traceProperty("m", "_height");
  s.call("m", "clear", {}).traceProperty("m", "_width");
  EXPECT_EQ(s.traces(), (Lines{"50", "30", "0"}));
}

TEST(ClipDrawing, GradientsSpreadAcrossTheirBoxInEitherMatrixForm) {
  auto drawn = [](bool box) {
    Script s;
    s.clip("m", 1).array("colors", {i32(kRed), i32(kBlue)}).array("alphas", {i32(100), i32(100)});
    s.array("ratios", {i32(0), i32(255)});
    if (box) {
      s.object(
          "matrix",
          {{"matrixType", str("box")}, {"x", i32(0)}, {"y", i32(0)}, {"w", i32(100)}, {"h", i32(100)}, {"r", i32(0)}});
    } else {
      s.object("matrix",
               {{"a", i32(100)}, {"b", i32(0)}, {"d", i32(0)}, {"e", i32(100)}, {"g", i32(50)}, {"h", i32(50)}});
    }
    s.call("m", "beginGradientFill", {str("linear"), var("colors"), var("alphas"), var("ratios"), var("matrix")});
    s.rect("m", 0, 0, 100, 100).call("m", "endFill", {});
    return s.picture();
  };
  for (bool box : {true, false}) {
    Picture p = drawn(box);
    EXPECT_GT(p.r(3, 50), 240) << box;
    EXPECT_LT(p.b(3, 50), 15) << box;
    EXPECT_GT(p.b(96, 50), 240) << box;
    EXPECT_LT(p.r(96, 50), 15) << box;
    EXPECT_NEAR(p.r(50, 50), 128, 12) << box;
    EXPECT_EQ(p.r(50, 10), p.r(50, 90)) << box;
  }
  // Colours, alphas and ratios of different lengths give no fill.
  Script s;
  s.clip("m", 1).array("colors", {i32(kRed), i32(kBlue)}).array("alphas", {i32(100)});
  s.array("ratios", {i32(0), i32(255)}).object("matrix", {{"a", i32(100)}});
  s.call("m", "beginGradientFill", {str("linear"), var("colors"), var("alphas"), var("ratios"), var("matrix")});
  s.rect("m", 0, 0, 100, 100).call("m", "endFill", {});
  EXPECT_TRUE(isWhite(s.picture(), 50, 50));
}

TEST(ClipDrawing, TheRootsDrawingOutlivesAJump) {
  Script s;
  s.filledRect("_root", kRed, 0, 0, 50, 50);
  Picture p = s.picture(8, true);
  EXPECT_TRUE(isRed(p, 25, 25));
  EXPECT_TRUE(isWhite(p, 75, 75));
}

TEST(ClipDrawing, BitmapFillsRepeatTheBitmapFromVersionEight) {
  Script s;
  s.clip("m", 1).bitmap("b", 10, 10, 0xff0000ff).call("m", "beginBitmapFill", {var("b")});
  s.rect("m", 0, 0, 100, 100).call("m", "endFill", {});
  EXPECT_TRUE(isBlue(s.picture(8), 5, 5));
  EXPECT_TRUE(isBlue(s.picture(8), 95, 95));
  EXPECT_TRUE(isWhite(s.picture(7), 5, 5));
}

TEST(ClipDrawing, MoviesBeforeVersionSixHaveNoDrawingApi) {
  Script s;
  s.clip("m", 1).filledRect("m", kRed, 0, 0, 100, 100);
  EXPECT_TRUE(isRed(s.picture(6), 50, 50));
  EXPECT_TRUE(isWhite(s.picture(5), 50, 50));
}

TEST(ClipDrawing, DuplicatesTakeTheDrawing) {
  Script s;
  s.clip("m", 1).filledRect("m", kRed, 0, 0, 100, 100);
  s.call("m", "duplicateMovieClip", {str("d"), i32(5)}).set("d", "_x", f64(50)).set("d", "_yscale", f64(50));
  Picture p = s.picture();
  EXPECT_TRUE(isRed(p, 25, 75));
  EXPECT_TRUE(isRed(p, 75, 25));
  s.set("m", "_visible", PushValue::boolean(false));
  Picture copyOnly = s.picture();
  EXPECT_TRUE(isWhite(copyOnly, 25, 25));
  EXPECT_TRUE(isRed(copyOnly, 75, 25));
  EXPECT_TRUE(isWhite(copyOnly, 75, 75));
}

TEST(ClipSetMask, AClipShowsOnlyWhereItsMaskDrewAndNullEndsIt) {
  Script s;
  s.clip("m", 1).filledRect("m", kRed, 0, 0, 100, 100);
  s.clip("k", 2).filledRect("k", kBlue, 20, 20, 60, 60);
  s.traceCall("m", "setMask", {str("k")});
  Picture masked = s.picture();
  EXPECT_TRUE(isWhite(masked, 10, 10));
  EXPECT_TRUE(isRed(masked, 40, 40));  // the mask itself is not drawn
  EXPECT_TRUE(isWhite(masked, 70, 70));
  s.traceCall("m", "setMask", {PushValue::null()});
  EXPECT_EQ(s.traces(), (Lines{"true", "true"}));
  Picture plain = s.picture();
  EXPECT_TRUE(isRed(plain, 10, 10));
  EXPECT_TRUE(isBlue(plain, 40, 40));
}

TEST(ClipSetMask, AMaskMovesToTheLastClipItWasGivenAndFollowsItsOwnTransform) {
  Script s;
  s.clip("m", 1).filledRect("m", kRed, 0, 0, 50, 100);
  s.clip("n", 2).filledRect("n", kBlue, 50, 0, 100, 100);
  s.clip("k", 3).filledRect("k", kBlack, 0, 0, 100, 20);
  s.call("m", "setMask", {str("k")}).call("n", "setMask", {str("k")}).set("k", "_y", f64(40));
  Picture p = s.picture();
  EXPECT_TRUE(isRed(p, 25, 10));  // m whole again
  EXPECT_TRUE(isRed(p, 25, 90));
  EXPECT_TRUE(isWhite(p, 75, 10));
  EXPECT_TRUE(isBlue(p, 75, 50));
  EXPECT_TRUE(isWhite(p, 75, 70));
  s.traceCall("m", "setMask", {str("nothing")}).traceCall("m", "setMask", {});
  EXPECT_EQ(s.traces(), (Lines{"false", "undefined"}));
}

}  // namespace
