// Movies scripts load from files beside the playing one: loadMovieNum into
// levels, loadMovie into clips, and MovieClipLoader's events in the order
// the real player sends them.
#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "action_steps.h"
#include "swf_builder.h"
#include "movie_player.h"
#include "timeline/stage.h"

namespace {

using namespace playertest;

constexpr uint8_t kLoadTargetFlag = 0x40;

Bytes movieTracing(const std::string& line) {
  ActionBuilder a;
  a.push(str(line)).action(Code::Trace);
  SwfBuilder b;
  b.version(7).doAction(a).showFrame();
  return b.finish();
}

// loader = new MovieClipLoader(), whose handlers trace their name and target.
ActionBuilder& makeLoader(ActionBuilder& a, const std::vector<std::string>& events) {
  a.push({str("loader"), i32(0), str("MovieClipLoader")}).action(Code::NewObject).action(Code::SetVariable);
  for (const std::string& e : events) {
    ActionBuilder body;
    body.push(str(e + " ")).push(str("t")).action(Code::GetVariable).action(Code::Add2).action(Code::Trace);
    a.push(str("loader")).action(Code::GetVariable).push(str(e));
    defineFunction(a, "", {"t"}, body).action(Code::SetMember);
  }
  return a;
}

ActionBuilder& loadClip(ActionBuilder& a, const std::string& url, const std::string& target) {
  a.push({str(target), str(url), i32(2), str("loader")}).action(Code::GetVariable);
  return a.push(str("loadClip")).action(Code::CallMethod).action(Code::Pop);
}

class LoadingMovie {
 public:
  LoadingMovie(SwfBuilder& b, std::map<std::string, Bytes> files) : files_(std::move(files)) {
    EXPECT_TRUE(movie_.parse(b.finish()));
    auto source = [this](const std::string& name, std::vector<uint8_t>& bytes) {
      auto it = files_.find(name);
      if (it == files_.end()) return false;
      bytes = it->second;
      return true;
    };
    stage_ = std::make_unique<swf::Stage>(
        movie_, nullptr, nullptr, [this](const std::string& l) { lines.push_back(l); }, source);
  }
  void tick(int n = 1) {
    for (int i = 0; i < n; ++i) stage_->tick(true);
  }
  swf::Stage& stage() { return *stage_; }
  Lines lines;

 private:
  std::map<std::string, Bytes> files_;
  swf::Movie movie_;
  std::unique_ptr<swf::Stage> stage_;
};

TEST(MovieLoads, ALevelLoadsAtTheNextFrameAndAnEmptyUrlUnloadsIt) {
  ActionBuilder a;
  a.push({str("child.swf"), str("_level3")}).action(Code::GetURL2, {0});
  a.push(str("asked")).action(Code::Trace);
  SwfBuilder b;
  b.version(7).doAction(a).showFrame();
  LoadingMovie run(b, {{"child.swf", movieTracing("child")}});
  EXPECT_EQ(run.lines, (Lines{"asked"}));
  EXPECT_EQ(run.stage().level(3), nullptr);
  run.tick();
  EXPECT_EQ(run.lines, (Lines{"asked", "child"}));
  ASSERT_NE(run.stage().level(3), nullptr);
  EXPECT_EQ(run.stage().level(3)->levelNumber(), 3);
  run.stage().level(3)->unloadMovie();
  EXPECT_EQ(run.stage().level(3), nullptr);
}

TEST(MovieLoads, ALoaderHearsStartProgressCompleteThenInitAfterTheFirstFrame) {
  ActionBuilder a;
  a.push({i32(1), str("box"), i32(2), str("createEmptyMovieClip")}).action(Code::CallFunction).action(Code::Pop);
  makeLoader(a, {"onLoadStart", "onLoadProgress", "onLoadComplete", "onLoadInit", "onLoadError"});
  loadClip(a, "child.swf", "box");
  SwfBuilder b;
  b.version(7).doAction(a).showFrame();
  LoadingMovie run(b, {{"child.swf", movieTracing("child")}});
  EXPECT_TRUE(run.lines.empty());
  run.tick();
  EXPECT_EQ(run.lines, (Lines{"onLoadStart _level0.box", "onLoadProgress _level0.box", "onLoadComplete _level0.box",
                              "child", "onLoadInit _level0.box"}));
}

TEST(MovieLoads, AFileThatCannotBeReadGivesAnErrorAfterTheFramesActions) {
  for (const char* url : {"missing.swf", "../child.swf", "/child.swf", "http://host/child.swf"}) {
    ActionBuilder a;
    a.push({i32(1), str("box"), i32(2), str("createEmptyMovieClip")}).action(Code::CallFunction).action(Code::Pop);
    makeLoader(a, {"onLoadStart", "onLoadError"});
    loadClip(a, url, "box");
    a.push(str("frame done")).action(Code::Trace);
    SwfBuilder b;
    b.version(7).doAction(a).showFrame();
    LoadingMovie run(b, {{"child.swf", movieTracing("child")}});
    run.tick();
    EXPECT_EQ(run.lines, (Lines{"frame done", "onLoadError _level0.box"})) << url;
  }
}

TEST(MovieLoads, AClipKeepsItsNameAndReferencesButLosesItsVariables) {
  ActionBuilder a, after;
  a.push({i32(1), str("box"), i32(2), str("createEmptyMovieClip")}).action(Code::CallFunction).action(Code::Pop);
  a.push({str("held"), str("box")}).action(Code::GetVariable).action(Code::SetVariable);
  a.push({str("box"), str("mark"), str("old")}).action(Code::SetVariable);
  a.push(str("box")).action(Code::GetVariable).push({str("mark"), str("old")}).action(Code::SetMember);
  a.push({str("child.swf?greeting=hi%21+you"), str("box")}).action(Code::GetURL2, {kLoadTargetFlag});
  after.push(str("held")).action(Code::GetVariable).action(Code::Trace);
  after.push(str("held")).action(Code::GetVariable).push(str("mark")).action(Code::GetMember).action(Code::Trace);
  after.push(str("held")).action(Code::GetVariable).push(str("greeting")).action(Code::GetMember).action(Code::Trace);
  after.push(str("held")).action(Code::GetVariable).push(str("_url")).action(Code::GetMember).action(Code::Trace);
  SwfBuilder b;
  b.version(7).doAction(a).showFrame().doAction(after).showFrame();
  LoadingMovie run(b, {{"child.swf", movieTracing("child")}});
  run.tick();
  EXPECT_EQ(run.lines, (Lines{"child", "_level0.box", "undefined", "hi! you", "child.swf?greeting=hi%21+you"}));
}

// PlaceObject2 of sprite 1 at depth 1 named name, whose onClipEvent(load)
// traces "load" (version 6 on: 32-bit event flags).
Bytes placeWithLoadTrace(const std::string& name) {
  ActionBuilder onLoad;
  onLoad.push(str("load")).action(Code::Trace);
  Bytes b{0x80 | 0x20 | 0x02, 1, 0, 1, 0};
  b.insert(b.end(), name.begin(), name.end());
  b.insert(b.end(), {0, 0, 0, 1, 0, 0, 0, 1, 0, 0, 0});
  uint32_t size = uint32_t(onLoad.size() + 1);
  b.insert(b.end(), {uint8_t(size), uint8_t(size >> 8), 0, 0});
  b.insert(b.end(), onLoad.bytes().begin(), onLoad.bytes().end());
  b.insert(b.end(), {0, 0, 0, 0, 0});
  return b;
}

TEST(MovieLoads, ALoadedClipHearsLoadBeforeTheMoviesFirstActionsAndOutlivesARewind) {
  ActionBuilder load, back;
  load.push({str("child.swf"), str("box")}).action(Code::GetURL2, {kLoadTargetFlag});
  // Back to the second frame: the timeline replays from the first, where it
  // placed the clip the movie was loaded into.
  back.gotoFrame(1)
      .push(str("box"))
      .action(Code::GetVariable)
      .push(str("_url"))
      .action(Code::GetMember)
      .action(Code::Trace);
  mvqtest::TagStream empty;
  empty.showFrame();
  SwfBuilder b;
  b.version(7).defineSprite(1, empty).tag(26, placeWithLoadTrace("box")).doAction(load).showFrame();
  b.showFrame().doAction(back).showFrame();
  LoadingMovie run(b, {{"child.swf", movieTracing("child")}});
  EXPECT_EQ(run.lines, (Lines{"load"}));
  run.tick(2);
  EXPECT_EQ(run.lines, (Lines{"load", "load", "child", "child.swf"}));
}

// A movie whose sprite 5 has init actions tracing line; it may load a file
// into _level1.
void withInitActions(SwfBuilder& b, const std::string& line, const std::string& loads) {
  ActionBuilder init, a;
  init.push(str(line)).action(Code::Trace);
  Bytes body{5, 0};
  body.insert(body.end(), init.bytes().begin(), init.bytes().end());
  body.push_back(0);
  mvqtest::TagStream empty;
  empty.showFrame();
  b.version(7).defineSprite(5, empty).tag(59, body);
  if (!loads.empty()) a.push({str(loads), str("_level1")}).action(Code::GetURL2, {0});
  b.doAction(a).showFrame();
}

TEST(MovieLoads, ALoadedMovieRunsInitActionsOfSpritesWhoseIdsTheFirstUsed) {
  SwfBuilder child, b;
  withInitActions(child, "child init", "");
  withInitActions(b, "parent init", "child.swf");
  LoadingMovie run(b, {{"child.swf", child.finish()}});
  run.tick(2);
  EXPECT_EQ(run.lines, (Lines{"parent init", "child init"}));
}

TEST(MovieLoads, ClipsCountTheirMovieExpandedAndSpritesTheirOwnTags) {
  ActionBuilder a;
  for (const char* path : {"_root", "box"}) {
    a.push({i32(0), str(path)})
        .action(Code::GetVariable)
        .push(str("getBytesTotal"))
        .action(Code::CallMethod)
        .action(Code::Trace);
  }
  mvqtest::TagStream sprite;
  sprite.showFrame().showFrame();  // two ShowFrame tags and the End tag: 6 bytes
  mvqtest::PlaceObject2 place;
  place.character = 1;
  place.name = "box";
  SwfBuilder b;
  b.version(7).defineSprite(1, sprite).placeObject2(place).doAction(a).showFrame();
  Lines lines;
  swf::Movie movie;
  ASSERT_TRUE(movie.parse(b.finish(mvqtest::Compression::Zlib)));
  swf::Stage stage(movie, nullptr, nullptr, [&lines](const std::string& l) { lines.push_back(l); });
  EXPECT_EQ(lines, (Lines{std::to_string(b.finish().size()), "6"}));
}

TEST(MovieLoads, BytesCountTheFileAsStoredCompressedOrNot) {
  SwfBuilder b;
  b.version(7).showFrame();
  for (auto compression : {mvqtest::Compression::None, mvqtest::Compression::Zlib}) {
    Bytes file = b.finish(compression);
    swf::Movie movie;
    ASSERT_TRUE(movie.parse(file));
    EXPECT_EQ(movie.fileLength(), file.size());
  }
}

}  // namespace

namespace {

// A 40 x 30 white stage whose first frame loads name into target, and a
// blue one whose left half is red.
Bytes stageLoading(const std::string& name, const std::string& target) {
  ActionBuilder a;
  a.push({str(name), str(target)}).action(Code::GetURL2, {0});
  SwfBuilder b;
  b.version(6).stage(mvqtest::Rect::pixels(40, 30)).background(255, 255, 255).doAction(a).showFrame();
  return b.finish();
}
Bytes redStage() {
  SwfBuilder b;
  b.version(6).stage(mvqtest::Rect::pixels(40, 30)).background(0, 0, 255);
  b.defineRectShape(1, mvqtest::Rect::twips(0, 0, 400, 600), mvqtest::Rgba{255, 0, 0}).placeObject2(1, 1).showFrame();
  return b.finish();
}

// The colour at (x, y) after two ticks of movie, its files being files.
uint32_t colourAfterLoad(const Bytes& movie, std::map<std::string, Bytes> files, int x, int y) {
  swf::MoviePlayer player;
  EXPECT_TRUE(player.load(movie, [&files](const std::string& name, std::vector<uint8_t>& bytes) {
    auto it = files.find(name);
    if (it == files.end()) return false;
    bytes = it->second;
    return true;
  }));
  player.tick();
  player.tick();
  std::vector<uint8_t> bgra(40 * 30 * 4);
  player.render(swf::Canvas{bgra.data(), 40, 30, 40 * 4}, 0, 0, 40, 30, swf::ScaleMode::ExactFit, true);
  const uint8_t* p = &bgra[(size_t(y) * 40 + x) * 4];
  return uint32_t(p[2]) << 16 | uint32_t(p[1]) << 8 | p[0];
}

TEST(MovieLoads, APlayerShowsLevelsAboveItsMovieWithTheStagesBackground) {
  // The red shape covers the left 20 x 30 pixels; a level keeps the first
  // movie's background colour and shows it through.
  EXPECT_EQ(colourAfterLoad(stageLoading("child.swf", "_level1"), {{"child.swf", redStage()}}, 5, 15), 0xFF0000u);
  EXPECT_EQ(colourAfterLoad(stageLoading("child.swf", "_level1"), {{"child.swf", redStage()}}, 35, 15), 0xFFFFFFu);
  EXPECT_EQ(colourAfterLoad(stageLoading("child.swf", "_level1"), {}, 5, 15), 0xFFFFFFu) << "no such file";
  EXPECT_EQ(colourAfterLoad(stageLoading("../child.swf", "_level1"), {{"../child.swf", redStage()}}, 5, 15), 0xFFFFFFu)
      << "outside the movie's folder";
}

TEST(MovieLoads, APlayerWithoutFilesLoadsNothing) {
  swf::MoviePlayer player;
  ASSERT_TRUE(player.load(stageLoading("child.swf", "_level1")));
  player.tick();
  player.tick();
  std::vector<uint8_t> bgra(40 * 30 * 4);
  player.render(swf::Canvas{bgra.data(), 40, 30, 40 * 4}, 0, 0, 40, 30, swf::ScaleMode::ExactFit, true);
  EXPECT_EQ(bgra[(15 * 40 + 5) * 4 + 2], 255);
  EXPECT_EQ(bgra[(15 * 40 + 5) * 4 + 1], 255);
}

}  // namespace
