// A button's pointer states and the transitions between them, as the
// button's condition bits and its script handlers name them. Fed with where
// the pointer is and whether it is pressed, it reports every transition it
// passes through, in order; the player runs their actions.
#pragma once

#include <cstdint>
#include <vector>

#include "../tags/button.h"

namespace swf {

enum class ButtonPhase : uint8_t { Idle, OverUp, OverDown, OutDown };

struct ButtonTransition {
  uint16_t condition = 0;         // one ButtonCondition bit
  const char* handler = nullptr;  // the script event (onPress, ...)
  ButtonPhase to = ButtonPhase::Idle;
};

class ButtonStateMachine {
 public:
  ButtonPhase phase() const { return phase_; }
  // The ButtonState whose records show now.
  uint8_t shownState() const;
  // The pointer is over the hit area (over) and pressed (down). A menu
  // button (trackAsMenu) takes a press begun elsewhere.
  std::vector<ButtonTransition> pointer(bool over, bool down, bool trackAsMenu);
  // The pointer left the movie or the button went: back to idle, as a roll
  // out or a release outside.
  std::vector<ButtonTransition> reset();

 private:
  bool step(bool over, bool down, bool trackAsMenu, ButtonTransition& out) const;
  ButtonPhase phase_ = ButtonPhase::Idle;
};

// The action blocks of button whose conditions hold the transition's bit.
std::vector<const ButtonAction*> actionsFor(const Button& button, uint16_t condition);
// The action blocks a key press runs: SWF key codes (ASCII, or 1-19 for
// the special keys) as the conditions' key field holds them.
std::vector<const ButtonAction*> actionsForKey(const Button& button, int keyCode);

}  // namespace swf
