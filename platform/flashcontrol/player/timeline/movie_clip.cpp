#include "movie_clip.h"

#include <algorithm>

#include "stage.h"
#include "../text/case_fold.h"

namespace swf {
namespace {

// The timeline an instance of the character plays: a sprite's own, or the
// one-frame display list of a button's up state.
const Timeline* playedTimeline(const Character& c) {
  return std::visit(Overloaded{
                        [](const SpriteCharacter& s) -> const Timeline* { return s.timeline.get(); },
                        [](const ButtonCharacter& b) -> const Timeline* { return b.upState.get(); },
                        [](const ShapeCharacter&) -> const Timeline* { return nullptr; },
                        [](const MorphCharacter&) -> const Timeline* { return nullptr; },
                        [](const BitmapCharacter&) -> const Timeline* { return nullptr; },
                        [](const StaticTextCharacter&) -> const Timeline* { return nullptr; },
                        [](const EditTextCharacter&) -> const Timeline* { return nullptr; },
                        [](const InertCharacter&) -> const Timeline* { return nullptr; },
                    },
                    c);
}

}  // namespace

MovieClip::MovieClip(Stage& stage, const Timeline& timeline, MovieClip* parent, int nesting)
    : stage_(stage),
      movie_(parent ? &parent->movie() : &stage.movie()),
      timeline_(timeline),
      parent_(parent),
      nesting_(nesting),
      serial_(stage.registerClip(this)),
      createdTick_(stage.tickCount()) {}

MovieClip::~MovieClip() {
  if (mask_) mask_->masking_ = nullptr;
  if (masking_) masking_->mask_ = nullptr;
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

void MovieClip::markRemoved() {
  // Off the list it is still called what it was (unload handlers print it).
  if (!renamed_) setInstanceName(instanceName());
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
  applyFrameCommands(movie(), *f, frame, state_, &touched);
  std::sort(touched.begin(), touched.end());
  touched.erase(std::unique(touched.begin(), touched.end()), touched.end());
  for (uint16_t depth : touched) {
    // A removal takes whatever is at its depth, a clip scripts moved there too.
    auto have = children_.find(depth);
    if (!state_.count(depth) && have != children_.end() && have->second.scripted) {
      removeChild(have);
    } else {
      reconcile(depth);
    }
  }
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
  const bool back = frame < frame_;
  frame_ = frame;
  state_ = placementsAt(movie(), timeline_, frame);
  if (jump) stage_.startStream(*this);
  if (const Frame* f = timeline_.frame(frame)) {
    stage_.queueActions(*this, *f);
    stage_.playFrameSounds(*this, *f);
  }
  if (back) dropScriptedTimelineChildren();
  std::vector<int> depths;
  for (const auto& entry : children_) depths.push_back(entry.first);
  for (const auto& entry : state_) depths.push_back(entry.first);
  std::sort(depths.begin(), depths.end());
  depths.erase(std::unique(depths.begin(), depths.end()), depths.end());
  for (int depth : depths) reconcile(depth);
}

// Going back, clips scripts put among the timeline's depths go: the
// timeline owns those depths.
void MovieClip::dropScriptedTimelineChildren() {
  for (auto it = children_.begin(); it != children_.end();) {
    auto next = std::next(it);
    if (it->first >= 0 && it->first < kDepthOffset && it->second.scripted) removeChild(it);
    it = next;
  }
}

void MovieClip::reconcile(int depth) {
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

void MovieClip::removeChild(std::map<int, DisplayObject>::iterator it) {
  MovieClip* clip = it->second.clip.get();
  if (clip && !isButton(it->second) && clip->wantsUnload()) {
    keepForUnload(it);
    return;
  }
  stage_.releaseObject();
  if (clip) {
    clip->markRemoved();
    clip->detachScripts();
    stage_.retire(std::move(it->second.clip));
  }
  children_.erase(it);
}

void MovieClip::createChild(int depth, const Placement& placement) {
  if (!stage_.reserveObject()) return;
  DisplayObject obj;
  obj.placement = placement;
  obj.character = movie().character(placement.characterId);
  const Timeline* timeline = obj.character ? playedTimeline(*obj.character) : nullptr;
  if (timeline && nesting_ + 1 < kMaxClipNesting) {
    obj.clip = std::make_unique<MovieClip>(stage_, *timeline, this, nesting_ + 1);
  }
  if (auto* field = obj.character ? std::get_if<EditTextCharacter>(obj.character) : nullptr) {
    obj.textField = std::make_unique<TextFieldInstance>(stage_, *this, field->definition);
  }
  DisplayObject& slot = children_[depth] = std::move(obj);
  if (slot.textField) slot.textField->showVariable();
  if (slot.clip) {
    slot.clip->setDepth(depth);
    // An unnamed instance takes its "instanceN" name as it is made.
    slot.clip->instanceName();
  }
  if (slot.clip && isButton(slot)) {
    slot.clip->enterFirstFrame();
  } else if (slot.clip) {
    stage_.queueEvent(*slot.clip, ClipInitialize);
    stage_.queueEvent(*slot.clip, ClipConstruct);
    slot.clip->enterFirstFrame();
    stage_.queueEvent(*slot.clip, ClipLoad);
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
  const int version = movie().version();
  for (auto& entry : children_) {
    MovieClip* clip = entry.second.clip.get();
    avm1::ActionTarget* child = clip ? static_cast<avm1::ActionTarget*>(clip) : entry.second.textField.get();
    if (!child) continue;
    const std::string& n = child->instanceName();
    // Version 6 names fold their letters beyond ASCII too; labels never do.
    bool same = version >= 7 ? n == name : version == 6 ? sameFoldedText(n, name) : sameTextIgnoringCase(n, name);
    if (same) return child;
  }
  return nullptr;
}

avm1::ActionTarget* MovieClip::rootTarget() {
  MovieClip* at = this;
  while (at->parent_) at = at->parent_;
  return at;
}

}  // namespace swf
