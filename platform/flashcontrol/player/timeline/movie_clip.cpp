#include "movie_clip.h"

#include <algorithm>

#include "stage.h"

namespace swf {

MovieClip::MovieClip(Stage& stage, const Timeline& timeline, MovieClip* parent, int nesting)
    : stage_(stage),
      timeline_(timeline),
      parent_(parent),
      nesting_(nesting),
      serial_(stage.registerClip(this)),
      createdTick_(stage.tickCount()) {}

MovieClip::~MovieClip() {
  if (object_) stage_.scripts().clipGone(object_);
  for (size_t i = 0; i < children_.size(); ++i) stage_.releaseObject();
  children_.clear();
  stage_.unregisterClip(serial_);
}

void MovieClip::enterFirstFrame() {
  frame_ = 0;
  stage_.startStream(*this);
  enterFrame(0);
}

void MovieClip::advance(bool loop) {
  if (!playing_ || removed_) return;
  if (frame_ + 1 < frameCount()) {
    enterFrame(frame_ + 1);
  } else if (frameCount() > 1 && loop) {
    seek(0, false);
  } else if (frameCount() > 1) {
    playing_ = false;
  }
}

void MovieClip::advanceChildren() {
  for (auto& entry : children_) {
    MovieClip* clip = entry.second.clip.get();
    if (!clip || clip->createdTick() >= stage_.tickCount()) continue;
    clip->advance(true);
    clip->advanceChildren();
  }
}

void MovieClip::markRemoved() {
  removed_ = true;
  stage_.endStream(*this);
  for (auto& entry : children_) {
    if (entry.second.clip) entry.second.clip->markRemoved();
  }
}

// The frame after the current one: only its own commands apply.
void MovieClip::enterFrame(int frame) {
  frame_ = frame;
  const Frame* f = timeline_.frame(frame);
  if (!f) return;
  stage_.queueActions(*this, *f);
  stage_.playFrameSounds(*this, *f);
  std::vector<uint16_t> touched;
  applyFrameCommands(stage_.movie(), *f, frame, state_, &touched);
  std::sort(touched.begin(), touched.end());
  touched.erase(std::unique(touched.begin(), touched.end()), touched.end());
  for (uint16_t depth : touched) reconcile(depth);
}

// Any other frame: its display list is worked out from the timeline's start,
// and objects that are still the same placement keep their instances.
void MovieClip::seek(int frame, bool jump) {
  frame = std::max(0, std::min(frame, frameCount() - 1));
  if (frame == frame_) return;
  if (frame == frame_ + 1) {
    enterFrame(frame);
    return;
  }
  if (!stage_.chargeSeek(frame + 1)) return;
  frame_ = frame;
  state_ = placementsAt(stage_.movie(), timeline_, frame);
  if (jump) stage_.startStream(*this);
  if (const Frame* f = timeline_.frame(frame)) {
    stage_.queueActions(*this, *f);
    stage_.playFrameSounds(*this, *f);
  }
  std::vector<uint16_t> depths;
  for (const auto& entry : children_) depths.push_back(entry.first);
  for (const auto& entry : state_) depths.push_back(entry.first);
  std::sort(depths.begin(), depths.end());
  depths.erase(std::unique(depths.begin(), depths.end()), depths.end());
  for (uint16_t depth : depths) reconcile(depth);
}

void MovieClip::reconcile(uint16_t depth) {
  auto want = state_.find(depth);
  auto have = children_.find(depth);
  if (have != children_.end() && have->second.scripted) return;
  if (want == state_.end()) {
    if (have != children_.end()) removeChild(have);
    return;
  }
  if (have != children_.end() && have->second.placement.sameObjectAs(want->second)) {
    Placement& p = have->second.placement;
    if (have->second.scriptTransform) {
      Placement kept = p;
      p = want->second;
      p.matrix = kept.matrix;
      p.colorTransform = kept.colorTransform;
      p.visible = kept.visible;
    } else {
      p = want->second;
    }
    return;
  }
  if (have != children_.end()) removeChild(have);
  createChild(depth, want->second);
}

void MovieClip::removeChild(std::map<uint16_t, DisplayObject>::iterator it) {
  stage_.releaseObject();
  if (it->second.clip) {
    stage_.queueEvent(*it->second.clip, kClipUnload);
    it->second.clip->markRemoved();
    stage_.retire(std::move(it->second.clip));
  }
  children_.erase(it);
}

void MovieClip::createChild(uint16_t depth, const Placement& placement) {
  if (!stage_.reserveObject()) return;
  DisplayObject obj;
  obj.placement = placement;
  obj.character = stage_.movie().character(placement.characterId);
  auto* sprite = obj.character ? std::get_if<SpriteCharacter>(obj.character) : nullptr;
  if (sprite && nesting_ + 1 < kMaxClipNesting) {
    obj.clip = std::make_unique<MovieClip>(stage_, *sprite->timeline, this, nesting_ + 1);
  }
  DisplayObject& slot = children_[depth] = std::move(obj);
  if (slot.clip) {
    slot.clip->setDepth(depth);
    stage_.queueEvent(*slot.clip, kClipInitialize);
    stage_.queueEvent(*slot.clip, kClipConstruct);
    slot.clip->enterFirstFrame();
    stage_.queueEvent(*slot.clip, kClipLoad);
  }
}

void MovieClip::nextFrame() {
  seek(frame_ + 1);
  playing_ = false;
}

void MovieClip::prevFrame() {
  seek(frame_ - 1);
  playing_ = false;
}

void MovieClip::gotoFrame(int frame0, bool andPlay) {
  seek(frame0);
  playing_ = andPlay;
}

bool MovieClip::gotoLabel(const std::string& label, bool andPlay) {
  int frame = timeline_.findLabel(label);
  if (frame < 0) return false;
  gotoFrame(frame, andPlay);
  return true;
}

avm1::ActionTarget* MovieClip::childNamed(const std::string& name) {
  bool caseSensitive = stage_.movie().version() >= 7;
  for (auto& entry : children_) {
    MovieClip* clip = entry.second.clip.get();
    if (!clip) continue;
    const std::string& n = clip->instanceName();
    if (clip && (caseSensitive ? n == name : sameTextIgnoringCase(n, name))) return clip;
  }
  return nullptr;
}

avm1::ActionTarget* MovieClip::rootTarget() {
  MovieClip* at = this;
  while (at->parent_) at = at->parent_;
  return at;
}

}  // namespace swf
