#include "movie_loads.h"

#include "../avm1/vm.h"
#include "movie.h"
#include "stage.h"

namespace swf {
namespace {

int hexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

// %XX escapes and '+' for spaces, as a query string writes them.
std::string unescapeQuery(const std::string& s) {
  std::string out;
  for (size_t i = 0; i < s.size(); ++i) {
    int hi = 0, lo = 0;
    if (s[i] == '%' && i + 2 < s.size() && (hi = hexDigit(s[i + 1])) >= 0 && (lo = hexDigit(s[i + 2])) >= 0) {
      out.push_back(char(hi * 16 + lo));
      i += 2;
    } else {
      out.push_back(s[i] == '+' ? ' ' : s[i]);
    }
  }
  return out;
}

}  // namespace

MovieLoads::MovieLoads(Stage& stage, MovieFileSource source) : stage_(stage), source_(std::move(source)) {}

MovieLoads::~MovieLoads() = default;

void MovieLoads::request(MovieClip* clip, int level, const std::string& url, avm1::Object* listener) {
  Request r;
  r.clip = clip ? clip->serial() : 0;
  r.level = level;
  r.url = url;
  r.listener = listener;
  r.tick = stage_.tickCount();
  r.movie = read(url);
  (r.movie ? pending_ : failed_).push_back(r);
}

const Movie* MovieLoads::read(const std::string& url) {
  std::vector<uint8_t> bytes;
  if (movies_.size() >= kMaxLoadedMovies || !readBesideMovie(source_, url, bytes)) return nullptr;
  auto movie = std::make_unique<Movie>();
  if (!movie->parse(bytes)) return nullptr;
  movies_.push_back(std::move(movie));
  return movies_.back().get();
}

void MovieLoads::place() {
  std::vector<Request> due;
  for (auto it = pending_.begin(); it != pending_.end();) {
    if (it->tick < stage_.tickCount()) {
      due.push_back(*it);
      it = pending_.erase(it);
    } else {
      ++it;
    }
  }
  for (Request& r : due) {
    MovieClip* fresh = nullptr;
    if (r.clip) {
      MovieClip* target = stage_.clipBySerial(r.clip);
      if (target && !target->removed()) fresh = target->replaceWith(*r.movie, r.url);
    } else {
      fresh = stage_.placeLevel(r.level, *r.movie, r.url);
    }
    if (!fresh) continue;
    setVariables(*fresh, r.url);
    r.placed = fresh->serial();
    if (r.listener) {
      double size = double(r.movie->fileLength());
      avm1::Object* target = fresh->scriptObject();
      tell(r.listener, "onLoadStart", target);
      tell(r.listener, "onLoadProgress", target, {size, size});
      tell(r.listener, "onLoadComplete", target, {0});
    }
    placed_.push_back(r);
  }
}

bool MovieLoads::report() {
  std::vector<Request> failed = std::move(failed_), placed = std::move(placed_);
  failed_.clear();
  placed_.clear();
  bool ran = false;
  for (const Request& r : failed) {
    if (!r.listener) continue;
    MovieClip* clip = r.clip ? stage_.clipBySerial(r.clip) : stage_.level(r.level);
    avm1::Value target = clip ? avm1::Value(clip->scriptObject()) : avm1::Value();
    stage_.scripts().broadcast(r.listener, {avm1::Value("onLoadError"), target, avm1::Value("URLNotFound")});
    ran = true;
  }
  for (const Request& r : placed) {
    MovieClip* clip = stage_.clipBySerial(r.placed);
    if (!r.listener || !clip) continue;
    tell(r.listener, "onLoadInit", clip->scriptObject());
    ran = true;
  }
  return ran;
}

void MovieLoads::tell(avm1::Object* listener, const char* event, avm1::Object* target, std::vector<double> numbers) {
  avm1::Args args{avm1::Value(event), avm1::Value(target)};
  for (double n : numbers) args.push_back(avm1::Value(n));
  stage_.scripts().broadcast(listener, args);
}

void MovieLoads::setVariables(MovieClip& clip, const std::string& url) {
  size_t query = url.find('?');
  avm1::Object* object = clip.scriptObject();
  if (query == std::string::npos || !object) return;
  size_t start = query + 1;
  while (start < url.size()) {
    size_t end = url.find('&', start);
    if (end == std::string::npos) end = url.size();
    std::string pair = url.substr(start, end - start);
    size_t eq = pair.find('=');
    if (!pair.empty()) {
      std::string name = unescapeQuery(pair.substr(0, eq));
      std::string value = eq == std::string::npos ? std::string() : unescapeQuery(pair.substr(eq + 1));
      object->set(name, avm1::Value(value));
    }
    start = end + 1;
  }
}

void MovieLoads::addRoots(std::vector<avm1::Object*>& roots) const {
  for (const auto* list : {&pending_, &placed_, &failed_}) {
    for (const Request& r : *list) {
      if (r.listener) roots.push_back(r.listener);
    }
  }
}

}  // namespace swf
