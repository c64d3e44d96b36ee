#include "button_input.h"

#include <cmath>
#include <variant>

#include "movie.h"
#include "shape_hit.h"
#include "stage.h"

namespace swf {
namespace {

const Button* buttonOf(const DisplayObject& obj) {
  auto* b = obj.character ? std::get_if<ButtonCharacter>(obj.character) : nullptr;
  return b ? b->button.get() : nullptr;
}

}  // namespace

// A hit record counts where its shape draws (fills and lines), as the real
// player tests it; records of other characters are passed over.
bool pointerOverButton(MovieClip& clip, const Button& button, double x, double y) {
  const Matrix toStage = clip.stageMatrix();
  for (const ButtonRecord& r : button.records) {
    if (!(r.states & ButtonHitTest)) continue;
    const Character* c = clip.movie().character(r.characterId);
    const auto* shape = c ? std::get_if<ShapeCharacter>(c) : nullptr;
    Matrix inverse;
    if (!shape || !(toStage * r.matrix).inverse(inverse)) continue;
    const Vec2 local = inverse.apply(x * 20, y * 20);
    if (shapeHits(*shape->shape, local.x, local.y)) return true;
  }
  return false;
}

void ButtonInput::collect(Stage& stage, MovieClip& clip, double x, double y, std::map<uint64_t, Hit>& out) {
  for (const auto& entry : clip.children()) {
    MovieClip* child = entry.second.clip.get();
    if (!child || child->removed()) continue;
    if (const Button* b = buttonOf(entry.second)) {
      out[child->serial()] = Hit{&clip, child, b, pointerOverButton(*child, *b, x, y)};
    } else {
      collect(stage, *child, x, y, out);
    }
  }
}

void ButtonInput::fire(Stage& stage, const Hit& hit, const std::vector<ButtonTransition>& passed) {
  for (const ButtonTransition& t : passed) {
    Frame frame;
    for (const ButtonAction* a : actionsFor(*hit.button, t.condition))
      frame.actions.push_back(ActionBlock{a->actions, a->size});
    stage.queueActions(*hit.parent, frame);
    if (avm1::Object* self = hit.clip->scriptObject()) {
      avm1::Vm& vm = stage.scripts().vm();
      if (vm.version() >= 6 && self->get(t.handler).isObject()) vm.callMethod(avm1::Value(self), t.handler, {});
    }
  }
}

void ButtonInput::pointer(Stage& stage, double x, double y, bool down) {
  std::map<uint64_t, Hit> hits;
  collect(stage, stage.root(), x, y, hits);
  // Buttons that went stop being tracked.
  for (auto it = machines_.begin(); it != machines_.end();) {
    it = hits.count(it->first) ? std::next(it) : machines_.erase(it);
  }
  stage.resetBudgets();
  for (const auto& entry : hits) {
    const Hit& hit = entry.second;
    ButtonStateMachine& m = machines_[entry.first];
    fire(stage, hit, m.pointer(hit.over, down, hit.button->trackAsMenu));
  }
  stage.runActions();
}

void ButtonInput::leave(Stage& stage) {
  std::map<uint64_t, Hit> hits;
  collect(stage, stage.root(), -HUGE_VAL, -HUGE_VAL, hits);
  stage.resetBudgets();
  for (const auto& entry : hits) {
    auto it = machines_.find(entry.first);
    if (it != machines_.end()) fire(stage, entry.second, it->second.reset());
  }
  machines_.clear();
  stage.runActions();
}

void ButtonInput::key(Stage& stage, int keyCode) {
  std::map<uint64_t, Hit> hits;
  collect(stage, stage.root(), -HUGE_VAL, -HUGE_VAL, hits);
  stage.resetBudgets();
  for (const auto& entry : hits) {
    Frame frame;
    for (const ButtonAction* a : actionsForKey(*entry.second.button, keyCode)) {
      frame.actions.push_back(ActionBlock{a->actions, a->size});
    }
    stage.queueActions(*entry.second.parent, frame);
  }
  stage.runActions();
}

ButtonPhase ButtonInput::phaseOf(uint64_t serial) const {
  auto it = machines_.find(serial);
  return it == machines_.end() ? ButtonPhase::Idle : it->second.phase();
}

}  // namespace swf
