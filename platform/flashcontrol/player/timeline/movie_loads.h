// Movies scripts load from files beside the playing one (loadMovie,
// loadMovieNum, MovieClipLoader). A file is read when asked for; the movie
// takes its place at the next tick, when a loader hears onLoadStart,
// onLoadProgress and onLoadComplete, and onLoadInit once the new movie's
// first frame has run. A file that cannot be read gives onLoadError after
// the actions running now.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "movie_files.h"

namespace swf {

namespace avm1 {
class Object;
}

class Movie;
class MovieClip;
class Stage;

// Loads one stage may make; past this a movie loading in a loop gets errors.
constexpr size_t kMaxLoadedMovies = 256;

class MovieLoads {
 public:
  MovieLoads(Stage& stage, MovieFileSource source);
  ~MovieLoads();

  // A load into a clip, or (clip nullptr) into _levelN.
  void request(MovieClip* clip, int level, const std::string& url, avm1::Object* listener);
  // Loads asked for before this tick replace their targets.
  void place();
  // Errors and onLoadInit events now due; true when any script ran.
  bool report();
  // The loaders whose events are still to come.
  void addRoots(std::vector<avm1::Object*>& roots) const;

 private:
  struct Request {
    uint64_t clip = 0;  // 0: a level
    int level = 0;
    std::string url;
    avm1::Object* listener = nullptr;
    uint64_t tick = 0;
    const Movie* movie = nullptr;  // nullptr: the file could not be read
    uint64_t placed = 0;           // the new root, once placed
  };
  const Movie* read(const std::string& url);
  void tell(avm1::Object* listener, const char* event, avm1::Object* target, std::vector<double> numbers = {});
  void setVariables(MovieClip& clip, const std::string& url);

  Stage& stage_;
  MovieFileSource source_;
  std::vector<Request> pending_;
  std::vector<Request> placed_;
  std::vector<Request> failed_;
  // Every movie loaded lives as long as the stage: clips point into it.
  std::vector<std::unique_ptr<Movie>> movies_;
};

}  // namespace swf
