#include "movie_player.h"

#include <algorithm>
#include <atomic>
#include <cmath>

#include "format/twips.h"
#include "render/pixel.h"
#include "render/scene_renderer.h"
#include "timeline/movie.h"
#include "timeline/stage.h"

namespace swf {
namespace {

int twipsToPixels(int64_t twips) {
  int64_t px = (twips + kTwipsPerPixel / 2) / kTwipsPerPixel;
  return px < 1 ? 1 : int(std::min<int64_t>(px, 1 << 20));
}

void fillBox(const Canvas& target, PixelBox box, Bgra c) {
  for (int y = box.y0; y < box.y1; ++y) {
    uint8_t* row = target.pixels + size_t(y) * size_t(target.stride) + size_t(box.x0) * 4;
    for (int x = box.x0; x < box.x1; ++x, row += 4) {
      row[0] = c.b, row[1] = c.g, row[2] = c.r, row[3] = c.a;
    }
  }
}

// Shared by every player, so that revisions never repeat across players.
std::atomic<uint64_t> lastRevision{0};

}  // namespace

MoviePlayer::MoviePlayer(Mp3DecoderFactory* mp3)
    : library_(mp3), mixer_(mp3), renderer_(std::make_unique<SceneRenderer>()), revision_(++lastRevision) {}
MoviePlayer::~MoviePlayer() {
  stage_.reset();
  movie_.reset();
}

bool MoviePlayer::load(const std::vector<uint8_t>& fileBytes, MovieFileSource files) {
  auto movie = std::make_unique<Movie>();
  if (!movie->parse(fileBytes)) return false;
  mixer_.stopAll();
  library_.clear();
  stage_.reset();
  movie_ = std::move(movie);
  for (const TagBody& sound : movie_->soundDefinitions()) library_.define(sound.data, sound.size);
  stage_ = std::make_unique<Stage>(*movie_, &mixer_, &library_, nullptr, std::move(files));
  changed();
  return true;
}

bool MoviePlayer::loaded() const { return movie_ != nullptr; }
double MoviePlayer::frameRate() const { return movie_ ? movie_->frameRate() : 0; }

int MoviePlayer::frameIntervalMs() const {
  double rate = frameRate();
  if (!(rate > 0)) rate = 12;
  return std::max(1, int(std::floor(1000 / rate + 0.5)));
}

int MoviePlayer::frameCount() const { return movie_ ? movie_->root().frameCount : 0; }
int MoviePlayer::stageWidthTwips() const { return movie_ ? int(movie_->frameSize().width()) : 0; }
int MoviePlayer::stageHeightTwips() const { return movie_ ? int(movie_->frameSize().height()) : 0; }
int MoviePlayer::stageWidthPixels() const { return movie_ ? twipsToPixels(movie_->frameSize().width()) : 0; }
int MoviePlayer::stageHeightPixels() const { return movie_ ? twipsToPixels(movie_->frameSize().height()) : 0; }
uint32_t MoviePlayer::backgroundRgb() const { return movie_ ? movie_->backgroundRgb() : 0xFFFFFF; }
int MoviePlayer::version() const { return movie_ ? movie_->version() : 0; }

void MoviePlayer::changed() { revision_ = ++lastRevision; }

void MoviePlayer::tick() {
  if (stage_) stage_->tick(loop_);
  changed();
}

void MoviePlayer::silence() {
  mixer_.stopAll();
  if (stage_) stage_->soundsStopped();
  changed();
}

void MoviePlayer::play() {
  if (stage_) stage_->root().play();
  changed();
}

void MoviePlayer::stop() {
  if (stage_) stage_->root().stop();
  changed();
}

void MoviePlayer::rewind() { gotoFrame(0); }

void MoviePlayer::gotoFrame(int frame0) {
  if (!stage_) return;
  stage_->resetBudgets();
  stage_->root().gotoFrame(std::max(0, frame0), false);
  stage_->runActions();
  changed();
}

void MoviePlayer::setQuality(Quality quality) {
  quality_ = quality;
  changed();
}

void MoviePlayer::setLoop(bool loop) { loop_ = loop; }
bool MoviePlayer::loop() const { return loop_; }
bool MoviePlayer::playing() const { return stage_ && stage_->root().isPlaying(); }
int MoviePlayer::currentFrame() const { return stage_ ? stage_->root().currentFrame() : 0; }

void MoviePlayer::render(const Canvas& target, int viewX, int viewY, int viewW, int viewH, ScaleMode mode,
                         bool paintBackground) const {
  if (!target.pixels || target.width <= 0 || target.height <= 0 || viewW <= 0 || viewH <= 0) return;
  PixelBox clip{std::max(0, viewX), std::max(0, viewY), int(std::min<int64_t>(target.width, int64_t(viewX) + viewW)),
                int(std::min<int64_t>(target.height, int64_t(viewY) + viewH))};
  if (clip.empty()) return;
  if (paintBackground) {
    uint32_t bg = backgroundRgb();
    fillBox(target, clip, Bgra{uint8_t(bg), uint8_t(bg >> 8), uint8_t(bg >> 16), 255});
  }
  if (!stage_) return;
  ViewTransform view = makeViewTransform(movie_->frameSize(), viewX, viewY, viewW, viewH,
                                         mode == ScaleMode::ExactFit   ? StageFit::ExactFit
                                         : mode == ScaleMode::NoBorder ? StageFit::NoBorder
                                                                       : StageFit::ShowAll);
  for (const MovieClip* level : stage_->levelsShown()) renderer_->render(*level, view, target, clip, quality_);
}

}  // namespace swf
