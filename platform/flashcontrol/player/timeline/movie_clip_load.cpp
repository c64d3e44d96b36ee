// Clips whose content scripts replace with another movie (loadMovie) or
// take away (unloadMovie). The clip keeps its place, name and depth; its
// variables and children go with the old content.
#include "movie.h"
#include "movie_clip.h"
#include "stage.h"

namespace swf {
namespace {

const Timeline& nothingPlayed() {
  static const Timeline kEmpty;
  return kEmpty;
}

}  // namespace

MovieClip::MovieClip(Stage& stage, const Movie& movie, MovieClip* parent, int nesting, const std::string& url)
    : MovieClip(stage, movie.root(), parent, nesting) {
  movie_ = &movie;
  loadedUrl_ = url;
}

void MovieClip::loadMovie(const std::string& url, avm1::Object* listener) {
  if (url.empty()) {
    unloadMovie();
    return;
  }
  stage_.loads().request(parent_ ? this : nullptr, level_, url, listener);
}

void MovieClip::unloadMovie() {
  if (!parent_ && level_ > 0) {
    stage_.unloadLevel(level_);
  } else if (!parent_) {
    playing_ = false;
    while (!children_.empty()) removeChild(children_.begin());
  } else if (DisplayObject* s = slot()) {
    auto emptied = std::make_unique<MovieClip>(stage_, nothingPlayed(), parent_, nesting_);
    parent_->takeSlot(*s, std::move(emptied));
  }
}

std::string MovieClip::url() {
  if (!loadedUrl_.empty()) return loadedUrl_;
  return parent_ ? parent_->url() : std::string();
}

MovieClip* MovieClip::replaceWith(const Movie& loaded, const std::string& url) {
  if (!parent_) return stage_.placeLevel(level_, loaded, url);
  DisplayObject* s = slot();
  if (!s) return nullptr;
  MovieClip* fresh = parent_->takeSlot(*s, std::make_unique<MovieClip>(stage_, loaded, parent_, nesting_, url));
  fresh->enterFirstFrame();
  stage_.queueLoadBeforeActions(*fresh);
  return fresh;
}

MovieClip* MovieClip::takeSlot(DisplayObject& slot, std::unique_ptr<MovieClip> fresh) {
  MovieClip* old = slot.clip.get();
  fresh->setDepth(old->depth_);
  fresh->setInstanceName(old->instanceName());
  // References to the clip reach what it shows now.
  avm1::Object* object = old->object_;
  old->object_ = nullptr;
  old->markRemoved();
  old->detachScripts();
  stage_.retire(std::move(slot.clip));
  if (object) {
    stage_.scripts().reuseObject(object, *fresh);
    fresh->object_ = object;
  }
  slot.clip = std::move(fresh);
  return slot.clip.get();
}

}  // namespace swf
