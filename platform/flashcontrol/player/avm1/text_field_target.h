// A text field on the stage as scripts reach it: a display object with a
// position and a name like a clip, but no timeline, and its text.
#pragma once

#include "../text/text_field.h"
#include "action_target.h"

namespace swf {
namespace avm1 {

class TextFieldTarget : public ActionTarget {
 public:
  // A field has no frames: the timeline controls do nothing.
  void play() override {}
  void stop() override {}
  void nextFrame() override {}
  void prevFrame() override {}
  void gotoFrame(int, bool) override {}
  bool gotoLabel(const std::string&, bool) override { return false; }
  ActionTarget* childNamed(const std::string&) override { return nullptr; }

  virtual TextField& field() = 0;
  // Before a script reads the field: its variable's value comes in.
  virtual void refresh() {}
  // A script set its text: the variable takes it.
  virtual void textChanged() {}
  // Text a script sets on a bound field goes to the variable (the field
  // shows it once actions ran); false when the field is bound to nothing.
  virtual bool writeVariable(const std::string&) { return false; }
};

}  // namespace avm1
}  // namespace swf
