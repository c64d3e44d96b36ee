// A movie clip as scripts see it: its variables in the table, its display
// properties (_x, _alpha, _name, ...) and children by instance name beside
// them. The clip may leave the stage first; the object then stands alone.
#pragma once

#include "../action_target.h"
#include "../object.h"

namespace swf {
namespace avm1 {

// startDrag and StartDrag. There is no pointer to follow: the clip takes its
// place once, at the pointer the stage reports (_xmouse and _ymouse, 0 in
// every clip) with lockCenter, where it is without; inside rect (left, top,
// right, bottom in its parent's pixels) when one is given.
void startDragging(ActionTarget* clip, bool lockCenter, const double* rect);

class ClipObject : public Object {
 public:
  ClipObject(Vm& vm, Object* proto, ActionTarget* clip) : Object(vm, proto), clip_(clip) {}
  ActionTarget* clip() const override { return clip_; }
  const char* typeName() const override { return "movieclip"; }
  // Its variables, then its named children.
  std::vector<std::string> enumerableNames() override;
  // A clip converts to its target path ("_level0.a.b").
  bool fixedText(std::string& out) override;
  // The clip left the stage.
  void detach() { clip_ = nullptr; }
  // A movie loaded into the clip: the object stands for the new content.
  void attach(ActionTarget* clip) { clip_ = clip; }
  // "/a/b" (_target).
  static std::string dotPath(ActionTarget* clip);
  static std::string slashPath(ActionTarget* clip);

 protected:
  bool getBuiltin(const std::string& key, Value& out) override;
  bool setBuiltin(const std::string& key, const Value& value) override;
  bool getVirtual(const std::string& key, Value& out) override;

 private:
  bool levelRoot() const { return clip_->parentTarget() == nullptr; }
  Value focusRect();
  void setFocusRect(const Value& value);

  ActionTarget* clip_;
  // _focusrect: a level's root holds the movie's setting (on at first), any
  // other clip its own (from version 6; null until set).
  Value focusRect_;
  bool focusRectSet_ = false;
};

void installMovieClipClass(Vm& vm);
// swapDepths, getInstanceAtDepth, getSWFVersion.
void installMovieClipDepthMethods(Vm& vm, Object* proto);
// The drawing API (beginFill .. clear) and setMask.
void installMovieClipDrawing(Vm& vm, Object* proto);
// MovieClip.blendMode (version 8 on).
void defineClipBlendMode(Vm& vm, Object* proto);
// An init object's own properties onto a new clip: all of them, whatever
// their flags.
void copyInitProperties(Object* from, Object* to);

}  // namespace avm1
}  // namespace swf
