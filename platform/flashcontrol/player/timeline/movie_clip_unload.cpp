// Removing clips that have unload handlers. Such a clip is not destroyed at
// once: it moves below every other depth (-32769 minus its depth), stays
// reachable by name, and leaves once its subtree's unload events, children
// first, have run. Clips without handlers go at once: references to them
// no longer reach a clip.
#include "movie_clip.h"
#include "stage.h"

namespace swf {
namespace {

constexpr int kUnloadDepthBase = -32769;

}  // namespace

bool MovieClip::hasUnloadHandler() {
  if (auto actions = clipActions()) {
    for (const ClipActionRecord& r : *actions) {
      if (r.events & ClipUnload) return true;
    }
  }
  // Any onUnload, even one that is no function, keeps the clip.
  avm1::Object* object = scriptObject();
  return object && object->has("onUnload");
}

bool MovieClip::wantsUnload() {
  if (!movie().runsActions()) return false;
  if (hasUnloadHandler()) return true;
  for (auto& entry : children_) {
    MovieClip* child = entry.second.clip.get();
    if (child && !isButton(entry.second) && child->wantsUnload()) return true;
  }
  return false;
}

void MovieClip::keepForUnload(std::map<int, DisplayObject>::iterator it) {
  MovieClip* clip = it->second.clip.get();
  // Without a handler of its own, children that want no unload go now.
  if (!clip->hasUnloadHandler()) {
    for (auto c = clip->children_.begin(); c != clip->children_.end();) {
      auto next = std::next(c);
      MovieClip* child = c->second.clip.get();
      if (!child || isButton(c->second) || !child->wantsUnload()) clip->removeChild(c);
      c = next;
    }
  }
  clip->queueUnloadEvents();
  clip->markRemoved();
  clip->awaitingUnload_ = true;
  int key = kUnloadDepthBase - clip->depth() + kDepthOffset;
  DisplayObject kept = std::move(it->second);
  children_.erase(it);
  kept.scripted = true;  // the timeline no longer owns it
  auto placed = children_.try_emplace(key, std::move(kept));
  if (!placed.second) {
    // The reserved depth is taken: it leaves the list now, its events still run.
    stage_.releaseObject();
    clip->awaitingUnload_ = false;
    stage_.retire(std::move(kept.clip));
    return;
  }
  clip->setDepth(key);
}

void MovieClip::queueUnloadEvents() {
  for (auto& entry : children_) {
    MovieClip* child = entry.second.clip.get();
    if (child && !isButton(entry.second) && child->wantsUnload()) child->queueUnloadEvents();
  }
  stage_.queueEvent(*this, ClipUnload);
}

void MovieClip::finishUnload() {
  if (!awaitingUnload_ || !parent_) return;
  awaitingUnload_ = false;
  auto it = parent_->children_.find(depth_);
  if (it == parent_->children_.end() || it->second.clip.get() != this) return;
  stage_.releaseObject();
  detachScripts();
  stage_.retire(std::move(it->second.clip));
  parent_->children_.erase(it);
}

void MovieClip::detachScripts() {
  if (object_) stage_.scripts().clipGone(object_);
  for (auto& entry : children_) {
    if (entry.second.clip) entry.second.clip->detachScripts();
  }
}

}  // namespace swf
