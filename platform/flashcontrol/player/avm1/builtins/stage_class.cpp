// Stage: the movie's size, its scale mode and alignment as scripts set
// them, and a broadcaster for resize listeners (the stage never resizes
// while a movie exports).
#include <cctype>
#include <memory>

#include "../vm.h"
#include "builtins.h"

namespace swf {
namespace avm1 {
namespace {

struct StageState {
  std::string scaleMode = "showAll";
  std::string align;
  std::string displayState = "normal";
};

// The letters of L, T, R and B the text holds, in that order.
std::string normaliseAlign(const std::string& text) {
  std::string out;
  for (char want : {'L', 'T', 'R', 'B'}) {
    for (char c : text) {
      if (std::toupper(static_cast<unsigned char>(c)) == want) {
        out.push_back(want);
        break;
      }
    }
  }
  return out;
}

// One of the four modes (any case); anything else is showAll.
std::string normaliseScaleMode(const std::string& text) {
  for (const char* mode : {"showAll", "noBorder", "exactFit", "noScale"}) {
    std::string m = mode;
    if (m.size() != text.size()) continue;
    bool same = true;
    for (size_t i = 0; i < m.size(); ++i) {
      same =
          same && std::tolower(static_cast<unsigned char>(m[i])) == std::tolower(static_cast<unsigned char>(text[i]));
    }
    if (same) return m;
  }
  return "showAll";
}

void textAccessor(Vm& vm, Object* stage, const char* name, std::shared_ptr<StageState> state,
                  std::string StageState::*field, std::string (*normalise)(const std::string&)) {
  NativeFunction* get =
      vm.newFunction([state, field](Vm&, const Value&, const Args&) -> Value { return Value((*state).*field); });
  NativeFunction* set = vm.newFunction([state, field, normalise](Vm& vm, const Value&, const Args& args) -> Value {
    std::string text = vm.toString(arg(args, 0));
    (*state).*field = normalise ? normalise(text) : text;
    return Value();
  });
  stage->addAccessor(name, get, set, DontEnum | DontDelete);
}

}  // namespace

void installStageClass(Vm& vm) {
  Object* stage = vm.newObject();
  vm.global()->define("Stage", Value(stage), DontEnum);
  auto state = std::make_shared<StageState>();
  textAccessor(vm, stage, "scaleMode", state, &StageState::scaleMode, normaliseScaleMode);
  textAccessor(vm, stage, "align", state, &StageState::align, normaliseAlign);
  textAccessor(vm, stage, "displayState", state, &StageState::displayState, nullptr);
  NativeFunction* width = vm.newFunction(
      [](Vm& vm, const Value&, const Args&) -> Value { return Value(vm.host() ? vm.host()->stageWidth() : 0.0); });
  NativeFunction* height = vm.newFunction(
      [](Vm& vm, const Value&, const Args&) -> Value { return Value(vm.host() ? vm.host()->stageHeight() : 0.0); });
  stage->addAccessor("width", width, nullptr, DontEnum | DontDelete);
  stage->addAccessor("height", height, nullptr, DontEnum | DontDelete);
  stage->define("showMenu", Value(true), DontEnum | DontDelete);
  initializeBroadcaster(vm, stage);
}

}  // namespace avm1
}  // namespace swf
