// A script world for the built-in classes' tests: a Vm whose host records
// trace lines and whose movie clock the test sets, and short ways to make
// objects and call their methods.
#pragma once

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "avm1/vm.h"

namespace avm1test {

using swf::avm1::Args;
using swf::avm1::Object;
using swf::avm1::Value;
using swf::avm1::Vm;

class TestHost : public swf::avm1::VmHost {
 public:
  void trace(const std::string& line) override { lines.push_back(line); }
  double movieTimeMs() const override { return clockMs; }
  void getUrl(const std::string&, const std::string&) override {}
  swf::avm1::ActionTarget* level(int) override { return nullptr; }
  void requestLoad(const std::string& url, Object*, LoadDone done) override { loads.push_back({url, done}); }
  void broadcastAfterActions(Object* source, const Args& args) override { afterActions.push_back({source, args}); }
  // Completes the waiting loads from files (a name not there fails).
  void finishLoads(const std::map<std::string, std::string>& files) {
    std::vector<std::pair<std::string, LoadDone>> due;
    due.swap(loads);
    for (auto& load : due) {
      auto it = files.find(load.first);
      load.second(it != files.end(), it != files.end() ? it->second : std::string());
    }
  }

  std::vector<std::string> lines;
  std::vector<std::pair<std::string, LoadDone>> loads;
  std::vector<std::pair<Object*, Args>> afterActions;
  double clockMs = 0;
};

class World {
 public:
  explicit World(int version = 8) : vm(version, &host) {}

  // new on a class of _global, dotted for one in a package ("flash.geom.Point").
  Value make(const std::string& classPath, const Args& args = {}) {
    Object* ctor = global(classPath).asObject();
    return ctor && ctor->asFunction() ? ctor->asFunction()->construct(args) : Value();
  }
  // A path of members from _global ("Stage.width").
  Value global(const std::string& path) {
    Value v(vm.global());
    size_t start = 0;
    while (start <= path.size() && v.isObject()) {
      size_t dot = path.find('.', start);
      if (dot == std::string::npos) dot = path.size();
      v = v.object->get(path.substr(start, dot - start));
      start = dot + 1;
    }
    return start > path.size() ? v : Value();
  }
  Value call(const Value& self, const std::string& method, const Args& args = {}) {
    return vm.callMethod(self, method, args);
  }
  std::string text(const Value& v) { return vm.toString(v); }
  double number(const Value& v) { return vm.toNumber(v); }

  TestHost host;
  Vm vm;
};

}  // namespace avm1test
