// The levels of the stage: _level0 is the movie it plays, loadMovieNum puts
// other movies' roots above it.
#include "stage.h"

namespace swf {

MovieClip* Stage::level(int n) {
  if (n == 0) return root_.get();
  auto it = levels_.find(n);
  return it != levels_.end() ? it->second.get() : nullptr;
}

std::vector<const MovieClip*> Stage::levelsShown() const {
  std::vector<const MovieClip*> shown{root_.get()};
  for (const auto& entry : levels_) shown.push_back(entry.second.get());
  return shown;
}

MovieClip* Stage::placeLevel(int n, const Movie& movie, const std::string& url) {
  if (n < 0) return nullptr;
  auto fresh = std::make_unique<MovieClip>(*this, movie, nullptr, 0, url);
  fresh->setLevel(n);
  std::unique_ptr<MovieClip>& slot = n == 0 ? root_ : levels_[n];
  if (slot) {
    slot->markRemoved();
    retire(std::move(slot));
  }
  slot = std::move(fresh);
  MovieClip* clip = slot.get();
  clip->enterFirstFrame();
  queueEvent(*clip, ClipLoad);
  return clip;
}

void Stage::unloadLevel(int n) {
  if (n == 0) {
    // The first movie's place stays; what it shows goes.
    root_->unloadMovie();
    return;
  }
  auto it = levels_.find(n);
  if (it == levels_.end()) return;
  it->second->markRemoved();
  retire(std::move(it->second));
  levels_.erase(it);
}

MovieClip* Stage::clipBySerial(uint64_t serial) {
  auto it = clips_.find(serial);
  return it != clips_.end() ? it->second : nullptr;
}

}  // namespace swf
