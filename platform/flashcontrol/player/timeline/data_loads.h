// Files scripts asked for (LoadVars, XML, loadVariables): each waits for
// the next tick, as a real download completes after the frame that asked.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "../avm1/vm.h"

namespace swf {

class DataLoads {
 public:
  // Reads a named file (relative to the movie); false when there is none.
  using Reader = std::function<bool(const std::string& url, std::string& bytes)>;

  void setReader(Reader reader) { reader_ = std::move(reader); }
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
  Reader reader_;
  std::vector<Pending> pending_;
};

// A reader of files in a movie's folder; names with a scheme (http:, ...)
// or leaving the folder read nothing.
DataLoads::Reader folderReader(const std::string& folder);
// A name that stays below the folder it is read from: no scheme, no absolute
// path, no "..".
bool insideFolder(const std::string& name);

}  // namespace swf
