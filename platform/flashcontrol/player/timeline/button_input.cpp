#include "button_input.h"

#include <algorithm>
#include <cmath>

#include "movie.h"
#include "stage.h"

namespace swf {
namespace {

const Button* buttonOf(const DisplayObject& obj) {
  auto* b = obj.character ? std::get_if<ButtonCharacter>(obj.character) : nullptr;
  return b ? b->button.get() : nullptr;
}

// A character's box in twips, where one is known without drawing it.
bool characterBox(const Movie& movie, uint16_t id, Rect& out) {
  const Character* c = movie.character(id);
  if (auto* shape = c ? std::get_if<ShapeCharacter>(c) : nullptr) {
    out = shape->shape->bounds;
    return true;
  }
  return false;
}

}  // namespace

bool pointerOverButton(MovieClip& clip, const Button& button, double x, double y) {
  double m[6];
  clip.toStage(m);
  for (const ButtonRecord& r : button.records) {
    Rect box;
    if (!(r.states & ButtonHitTest) || !characterBox(clip.movie(), r.characterId, box)) continue;
    double minX = HUGE_VAL, minY = HUGE_VAL, maxX = -HUGE_VAL, maxY = -HUGE_VAL;
    const double xs[4] = {double(box.xMin), double(box.xMax), double(box.xMin), double(box.xMax)};
    const double ys[4] = {double(box.yMin), double(box.yMin), double(box.yMax), double(box.yMax)};
    for (int i = 0; i < 4; ++i) {
      Vec2 p = r.matrix.apply(xs[i], ys[i]);
      double px = p.x / 20, py = p.y / 20;
      double sx = m[0] * px + m[2] * py + m[4], sy = m[1] * px + m[3] * py + m[5];
      minX = std::min(minX, sx), maxX = std::max(maxX, sx);
      minY = std::min(minY, sy), maxY = std::max(maxY, sy);
    }
    if (x >= minX && x <= maxX && y >= minY && y <= maxY) return true;
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
