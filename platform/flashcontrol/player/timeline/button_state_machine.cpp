#include "button_state_machine.h"

namespace swf {

uint8_t ButtonStateMachine::shownState() const {
  switch (phase_) {
    case ButtonPhase::OverUp:
    case ButtonPhase::OutDown: return ButtonOver;
    case ButtonPhase::OverDown: return ButtonDown;
    case ButtonPhase::Idle: break;
  }
  return ButtonUp;
}

// One transition from the current phase towards (over, down), if any.
bool ButtonStateMachine::step(bool over, bool down, bool menu, ButtonTransition& t) const {
  switch (phase_) {
    case ButtonPhase::Idle:
      if (over && !down)
        t = {IdleToOverUp, "onRollOver", ButtonPhase::OverUp};
      else if (over && down && menu)
        t = {IdleToOverDown, "onDragOver", ButtonPhase::OverDown};
      else
        return false;
      return true;
    case ButtonPhase::OverUp:
      if (!over)
        t = {OverUpToIdle, "onRollOut", ButtonPhase::Idle};
      else if (down)
        t = {OverUpToOverDown, "onPress", ButtonPhase::OverDown};
      else
        return false;
      return true;
    case ButtonPhase::OverDown:
      if (!over && menu)
        t = {OverDownToIdle, "onDragOut", ButtonPhase::Idle};
      else if (!over)
        t = {OverDownToOutDown, "onDragOut", ButtonPhase::OutDown};
      else if (!down)
        t = {OverDownToOverUp, "onRelease", ButtonPhase::OverUp};
      else
        return false;
      return true;
    case ButtonPhase::OutDown:
      if (over && down)
        t = {OutDownToOverDown, "onDragOver", ButtonPhase::OverDown};
      else if (!down)
        t = {OutDownToIdle, "onReleaseOutside", ButtonPhase::Idle};
      else
        return false;
      return true;
  }
  return false;
}

std::vector<ButtonTransition> ButtonStateMachine::pointer(bool over, bool down, bool trackAsMenu) {
  std::vector<ButtonTransition> passed;
  ButtonTransition t;
  // Each phase is left at most once per update: a release over the button
  // ends in OverUp, not back in OverDown.
  for (int i = 0; i < 4 && step(over, down, trackAsMenu, t); ++i) {
    phase_ = t.to;
    passed.push_back(t);
    if (t.to == ButtonPhase::Idle && !over) break;
  }
  return passed;
}

std::vector<ButtonTransition> ButtonStateMachine::reset() {
  bool down = phase_ == ButtonPhase::OverDown || phase_ == ButtonPhase::OutDown;
  std::vector<ButtonTransition> passed = pointer(false, down, false);
  if (down) {
    std::vector<ButtonTransition> released = pointer(false, false, false);
    passed.insert(passed.end(), released.begin(), released.end());
  }
  return passed;
}

std::vector<const ButtonAction*> actionsFor(const Button& button, uint16_t condition) {
  std::vector<const ButtonAction*> out;
  for (const ButtonAction& a : button.actions) {
    if (a.conditions & condition & ~KeyPressMask) out.push_back(&a);
  }
  return out;
}

std::vector<const ButtonAction*> actionsForKey(const Button& button, int keyCode) {
  std::vector<const ButtonAction*> out;
  if (keyCode <= 0 || keyCode > 127) return out;
  for (const ButtonAction& a : button.actions) {
    if (((a.conditions & KeyPressMask) >> 1) == keyCode) out.push_back(&a);
  }
  return out;
}

}  // namespace swf
