// What frame actions can do to a timeline. Movie clips implement it; the
// interpreter sees nothing else of the player.
#pragma once

#include <string>

namespace swf {
namespace avm1 {

class ActionTarget {
 public:
  virtual ~ActionTarget() = default;
  virtual void play() = 0;
  virtual void stop() = 0;
  virtual void nextFrame() = 0;
  virtual void prevFrame() = 0;
  // frame0 is 0-based; out-of-range frames are clamped.
  virtual void gotoFrame(int frame0, bool andPlay) = 0;
  // False when the timeline has no such label.
  virtual bool gotoLabel(const std::string& label, bool andPlay) = 0;

  // Path steps: a child clip by instance name, the parent, the movie's root.
  virtual ActionTarget* childNamed(const std::string& name) = 0;
  virtual ActionTarget* parentTarget() = 0;
  virtual ActionTarget* rootTarget() = 0;
};

}  // namespace avm1
}  // namespace swf
