// Files scripts asked for (LoadVars, XML, loadVariables): each waits for
// the next tick, as a real download completes after the frame that asked.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "../avm1/vm.h"
#include "movie_files.h"

namespace swf {

class DataLoads {
 public:
  // Where the files come from (nothing loads until set).
  void setFiles(MovieFileSource files) { files_ = std::move(files); }
  void request(const std::string& url, avm1::Object* keep, avm1::VmHost::LoadDone done);
  // Completes the requests made before now, in the order they were made
  // (those their callbacks make wait for the next call).
  void complete();
  void references(std::vector<avm1::Object*>& out) const;

 private:
  struct Pending {
    std::string url;
    avm1::Object* keep;
    avm1::VmHost::LoadDone done;
  };
  MovieFileSource files_;
  std::vector<Pending> pending_;
};

}  // namespace swf
