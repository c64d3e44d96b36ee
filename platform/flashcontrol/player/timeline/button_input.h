// Pointer input for the buttons of a playing movie: each button instance
// keeps its ButtonStateMachine; an update finds which buttons the pointer is
// over (the outlines of their hit-test records), and every transition queues the
// button's actions for that condition on its parent timeline and calls the
// button object's handler (onPress, onRelease, ...), then runs them.
#pragma once

#include <cstdint>
#include <map>

#include "button_state_machine.h"

namespace swf {

class MovieClip;
class Stage;
struct DisplayObject;

class ButtonInput {
 public:
  // x, y in stage pixels; down: the primary button is pressed.
  void pointer(Stage& stage, double x, double y, bool down);
  // The pointer left the movie.
  void leave(Stage& stage);
  // A key pressed while the movie has the focus: key-press conditions.
  void key(Stage& stage, int keyCode);
  // The phase of the button instance whose clip has that serial.
  ButtonPhase phaseOf(uint64_t serial) const;

 private:
  struct Hit {
    MovieClip* parent;
    MovieClip* clip;
    const Button* button;
    bool over;
  };
  void collect(Stage& stage, MovieClip& clip, double x, double y, std::map<uint64_t, Hit>& out);
  void fire(Stage& stage, const Hit& hit, const std::vector<ButtonTransition>& passed);

  std::map<uint64_t, ButtonStateMachine> machines_;
};

// Whether the stage point (pixels) is on a hit-test record's shape in
// the button shown by clip.
bool pointerOverButton(MovieClip& clip, const Button& button, double x, double y);

}  // namespace swf
