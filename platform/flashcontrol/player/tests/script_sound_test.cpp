// Sound objects and StopSounds playing through the mixer: exported sounds
// started, looped and stopped by name, clip or movie; volume and pan of a
// clip or the whole movie in what the mixer renders; completion on the movie
// clock; and startDrag without a pointer.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "action_steps.h"
#include "sound_library.h"
#include "sound_mixer.h"
#include "swf_builder.h"
#include "tags/export_assets.h"
#include "tags/tag_codes.h"
#include "timeline/stage.h"

namespace {

using namespace playertest;

constexpr int kTick = 3675;  // 44100 Hz frames of one tick at 12 fps
const mvqtest::PcmFormat kMono;

// Sound 1 ("a") holds 1000, sound 2 ("b") 300, each kLength frames long.
constexpr int kLength = 1000;

Bytes exportBody(const std::vector<std::pair<uint16_t, std::string>>& names) {
  Bytes b{uint8_t(names.size()), 0};
  for (const auto& n : names) {
    b.push_back(uint8_t(n.first));
    b.push_back(uint8_t(n.first >> 8));
    b.insert(b.end(), n.second.begin(), n.second.end());
    b.push_back(0);
  }
  return b;
}

SwfBuilder withSounds(int length = kLength) {
  SwfBuilder b;
  b.version(7).frameRate(12);
  b.defineSound(1, kMono, std::vector<int16_t>(size_t(length), 1000));
  b.defineSound(2, kMono, std::vector<int16_t>(size_t(kLength), 300));
  b.tag(uint16_t(swf::TagCode::ExportAssets), exportBody({{1, "a"}, {2, "b"}}));
  return b;
}

// name = new Sound(target...)
ActionBuilder& newSound(ActionBuilder& a, const std::string& name, const std::string& target = "") {
  a.push(str(name));
  if (!target.empty()) {
    a.push(str(target)).action(Code::GetVariable).push(i32(1));
  } else {
    a.push(i32(0));
  }
  return a.push(str("Sound")).action(Code::NewObject).action(Code::SetVariable);
}

// object.method(args...), result left on the stack.
ActionBuilder& callMethod(ActionBuilder& a, const std::string& object, const std::string& method,
                          std::vector<PushValue> args) {
  for (auto it = args.rbegin(); it != args.rend(); ++it) a.push(*it);
  a.push(i32(int32_t(args.size()))).push(str(object)).action(Code::GetVariable);
  return a.push(str(method)).action(Code::CallMethod);
}

ActionBuilder& send(ActionBuilder& a, const std::string& object, const std::string& method,
                    std::vector<PushValue> args = {}) {
  return callMethod(a, object, method, std::move(args)).action(Code::Pop);
}

ActionBuilder& traceMember(ActionBuilder& a, const std::string& object, const std::string& member) {
  return a.push(str(object)).action(Code::GetVariable).push(str(member)).action(Code::GetMember).action(Code::Trace);
}

// object.member = function () { trace(text); }
ActionBuilder& traceHandler(ActionBuilder& a, const std::string& object, const std::string& member,
                            const std::string& text) {
  ActionBuilder body;
  body.push(str(text)).action(Code::Trace);
  a.push(str(object)).action(Code::GetVariable).push(str(member));
  Bytes p{0, 0, 0, uint8_t(body.size() & 0xFF), uint8_t(body.size() >> 8)};
  return a.action(Code::DefineFunction, p).raw(body.bytes()).action(Code::SetMember);
}

// _root.createEmptyMovieClip(name, 1)
ActionBuilder& createClip(ActionBuilder& a, const std::string& name) {
  a.push({i32(1), str(name), i32(2), str("_root")}).action(Code::GetVariable);
  return a.push(str("createEmptyMovieClip")).action(Code::CallMethod).action(Code::Pop);
}

// A movie playing through a mixer of its own, its trace lines collected.
class SoundMovie {
 public:
  explicit SoundMovie(SwfBuilder& b) {
    EXPECT_TRUE(movie_.parse(b.finish()));
    for (const swf::TagBody& sound : movie_.soundDefinitions()) library_.define(sound.data, sound.size);
    stage_ =
        std::make_unique<swf::Stage>(movie_, &mixer, &library_, [this](const std::string& l) { lines.push_back(l); });
  }
  void tick() { stage_->tick(true); }
  // One tick's share of the mix (stereo, interleaved).
  std::vector<int16_t> render(size_t frames = kTick) {
    std::vector<int16_t> out(2 * frames, -1);
    mixer.render(out.data(), frames);
    return out;
  }
  swf::Stage& stage() { return *stage_; }
  swf::SoundMixer mixer;
  Lines lines;

 private:
  swf::Movie movie_;
  swf::SoundLibrary library_;
  std::unique_ptr<swf::Stage> stage_;
};

// Frames (from the start) whose left and right samples are left, right.
size_t framesAt(const std::vector<int16_t>& mix, int left, int right) {
  size_t n = 0;
  for (size_t i = 0; i + 1 < mix.size(); i += 2) {
    if (mix[i] == left && mix[i + 1] == right) ++n;
  }
  return n;
}

TEST(ScriptSound, StartPlaysOnlyAnAttachedExportAndLoopsFromItsOffset) {
  ActionBuilder a;
  newSound(a, "s");
  send(a, "s", "start");  // nothing attached yet
  send(a, "s", "attachSound", {str("missing")});
  send(a, "s", "start");  // an unknown name attached nothing
  traceMember(a, "s", "duration");
  send(a, "s", "attachSound", {str("a")});
  traceMember(a, "s", "duration");
  send(a, "s", "attachSound", {str("missing")});  // keeps "a"
  send(a, "s", "start", {f64(0.01), i32(3)});     // from frame 441, three times
  SwfBuilder b = withSounds();
  b.doAction(a).showFrame().showFrame();
  SoundMovie m(b);
  EXPECT_EQ(m.lines, (Lines{"undefined", "22"}));
  ASSERT_EQ(1u, m.mixer.eventSoundsPlaying());
  const std::vector<int16_t> mix = m.render();
  EXPECT_EQ(size_t(3 * (kLength - 441)), framesAt(mix, 1000, 1000));
  EXPECT_EQ(size_t(kTick - 3 * (kLength - 441)), framesAt(mix, 0, 0));
}

TEST(ScriptSound, StopByNameByClipAndForTheWholeMovie) {
  ActionBuilder f0, f1, f2, f3;
  createClip(f0, "mc");
  newSound(f0, "g");
  newSound(f0, "c", "mc");
  send(f0, "g", "attachSound", {str("a")});
  send(f0, "c", "attachSound", {str("b")});
  send(f0, "g", "start");
  send(f0, "c", "start");
  send(f0, "g", "start");
  send(f1, "c", "stop", {str("a")});  // both plays of a, whoever started them
  send(f2, "g", "start");
  send(f2, "c", "stop");  // what mc started
  send(f3, "c", "start");
  send(f3, "g", "stop");  // everything
  f3.stop();
  SwfBuilder b = withSounds();
  b.doAction(f0).showFrame().doAction(f1).showFrame().doAction(f2).showFrame().doAction(f3).showFrame();
  SoundMovie m(b);
  ASSERT_EQ(3u, m.mixer.eventSoundsPlaying());
  EXPECT_EQ(100u, framesAt(m.render(100), 2300, 2300));
  m.tick();
  EXPECT_EQ(100u, framesAt(m.render(100), 300, 300));
  m.tick();
  EXPECT_EQ(100u, framesAt(m.render(100), 1000, 1000));
  m.tick();
  EXPECT_EQ(0u, m.mixer.eventSoundsPlaying());
  EXPECT_EQ(100u, framesAt(m.render(100), 0, 0));
}

TEST(ScriptSound, VolumeAndPanOfAClipAndOfTheMovieMixWhatPlays) {
  TagStream clip;
  clip.showFrame().startSound(2).showFrame();
  ActionBuilder f0, f1, f2;
  newSound(f0, "v", "mc");
  send(f0, "v", "setVolume", {i32(0)});
  newSound(f0, "g");
  send(f0, "g", "attachSound", {str("a")});
  send(f0, "g", "setVolume", {i32(50)});
  send(f0, "g", "start");
  newSound(f0, "w");
  callMethod(f0, "w", "getVolume", {}).action(Code::Trace);  // the movie's volume, shared
  callMethod(f0, "v", "getVolume", {}).action(Code::Trace);
  send(f1, "w", "setPan", {i32(100)});
  send(f2, "v", "setVolume", {i32(100)});
  f2.stop();
  SwfBuilder b = withSounds(20000);
  b.defineSprite(3, clip);
  PlaceObject2 place;
  place.character = 3;
  place.name = "mc";
  b.placeObject2(place).doAction(f0).showFrame().doAction(f1).showFrame().doAction(f2).showFrame();
  SoundMovie m(b);
  EXPECT_EQ(m.lines, (Lines{"50", "0"}));
  EXPECT_EQ(100u, framesAt(m.render(100), 500, 500));
  m.tick();  // mc's own frame starts b, at its volume 0
  EXPECT_EQ(2u, m.mixer.eventSoundsPlaying());
  EXPECT_EQ(100u, framesAt(m.render(100), 0, 500)) << "panned right, b silent";
  m.tick();
  EXPECT_EQ(100u, framesAt(m.render(100), 0, 650)) << "b back at full within the movie's half";
}

TEST(ScriptSound, CompletesOnceOnTheMovieClockWithItsPositionFollowingTicks) {
  ActionBuilder f0, later, last;
  newSound(f0, "s");
  send(f0, "s", "attachSound", {str("a")});
  traceHandler(f0, "s", "onSoundComplete", "done");
  send(f0, "s", "start");
  traceMember(f0, "s", "duration");
  traceMember(f0, "s", "position");
  traceMember(later, "s", "position");
  traceMember(last, "s", "position");
  last.stop();
  SwfBuilder b = withSounds(8820);  // 200 ms
  b.doAction(f0).showFrame();
  for (int f = 0; f < 3; ++f) b.doAction(later).showFrame();
  b.doAction(last).showFrame();
  SoundMovie m(b);
  for (int t = 0; t < 8; ++t) m.tick();  // the mixer is never pulled: only ticks count
  EXPECT_EQ(m.lines, (Lines{"200", "0", "83", "166", "done", "200", "200"}));
}

TEST(ScriptSound, ASoundOfARemovedClipPlaysOnButAnswersNoMore) {
  ActionBuilder a;
  createClip(a, "mc");
  newSound(a, "c", "mc");
  send(a, "c", "attachSound", {str("a")});
  send(a, "c", "setVolume", {i32(50)});
  send(a, "c", "start");
  send(a, "mc", "removeMovieClip");
  callMethod(a, "c", "getVolume", {}).action(Code::Trace);
  send(a, "c", "stop");
  send(a, "c", "start");
  SwfBuilder b = withSounds();
  b.doAction(a).showFrame();
  SoundMovie m(b);
  EXPECT_EQ(m.lines, (Lines{"undefined"}));
  EXPECT_EQ(1u, m.mixer.eventSoundsPlaying());
  EXPECT_EQ(100u, framesAt(m.render(100), 500, 500)) << "it keeps the clip's volume";
}

TEST(ScriptSound, StopSoundsEndsEventSoundsAndTheStreamUntilItsNextBlock) {
  ActionBuilder a;
  newSound(a, "s");
  send(a, "s", "attachSound", {str("a")});
  send(a, "s", "start");
  a.action(Code::StopSounds);
  SwfBuilder b = withSounds();
  b.soundStreamHead(kMono, kTick);
  b.soundStreamBlock(kMono, std::vector<int16_t>(kTick, 2000)).doAction(a).showFrame();
  b.soundStreamBlock(kMono, std::vector<int16_t>(kTick, 2000)).showFrame();
  SoundMovie m(b);
  EXPECT_EQ(0u, m.mixer.eventSoundsPlaying());
  EXPECT_TRUE(m.mixer.silent());
  m.tick();
  EXPECT_EQ(size_t(kTick), framesAt(m.render(), 2000, 2000));
}

TEST(ClipDrag, StartDragPlacesTheClipAtThePointerWithinItsRectangle) {
  ActionBuilder a;
  createClip(a, "d");
  const auto place = [&a](double x, double y) {
    a.push(str("d")).action(Code::GetVariable).push({str("_x"), f64(x)}).action(Code::SetMember);
    a.push(str("d")).action(Code::GetVariable).push({str("_y"), f64(y)}).action(Code::SetMember);
  };
  const auto where = [&a]() {
    traceMember(a, "d", "_x");
    traceMember(a, "d", "_y");
  };
  place(100, 50);
  send(a, "d", "startDrag", {PushValue::boolean(true)});
  where();  // the pointer is at 0, 0
  place(100, 50);
  send(a, "d", "startDrag", {PushValue::boolean(false), i32(30), i32(40), i32(10), i32(20)});
  where();  // held within 10..30, 20..40
  send(a, "d", "stopDrag");
  place(-7, 9);
  a.push({i32(5), i32(6), i32(7), i32(8), i32(1), i32(1), str("d")}).action(Code::StartDrag);
  where();
  a.action(Code::EndDrag);
  traceMember(a, "d", "_droptarget");
  SwfBuilder b;
  b.version(7).doAction(a).showFrame();
  SoundMovie m(b);
  EXPECT_EQ(m.lines, (Lines{"0", "0", "30", "40", "5", "6", ""}));
}

}  // namespace
