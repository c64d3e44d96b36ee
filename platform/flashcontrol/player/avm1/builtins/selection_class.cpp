// Selection: which object has the keyboard focus. Nobody types while a
// movie exports, so only scripts move it (setFocus); the objects losing and
// taking it hear onKillFocus and onSetFocus, then Selection's listeners
// onSetFocus. A text field taking the focus has all its text selected;
// setSelection and the indices reach the focused field's selection.
#include <algorithm>
#include <cmath>

#include "../action_target.h"
#include "../bindings/text_field_object.h"
#include "../vm.h"
#include "builtins.h"

namespace swf {
namespace avm1 {
namespace {

class SelectionObject : public Object {
 public:
  using Object::Object;
  Value focus = Value::null();
  // The focused field's selection has been made (it has none while the
  // focus events of its taking the focus run).
  bool selected = false;
  void references(std::vector<Object*>& out) const override {
    Object::references(out);
    if (focus.isObject()) out.push_back(focus.object);
  }
};

// A target path from _level0 ("a.b", "/a/b", "_level0.a").
Object* objectAtPath(Vm& vm, const std::string& path) {
  ActionTarget* root = vm.host() ? vm.host()->level(0) : nullptr;
  Object* at = root ? root->scriptObject() : nullptr;
  std::string step;
  for (size_t i = 0; i <= path.size() && at; ++i) {
    if (i < path.size() && path[i] != '.' && path[i] != '/') {
      step.push_back(path[i]);
      continue;
    }
    if (!step.empty() && step != "_level0" && step != "_root") {
      Value v = at->get(step);
      at = v.isObject() ? v.object : nullptr;
    }
    step.clear();
  }
  return at && at->clip() ? at : nullptr;
}

TextFieldTarget* fieldOf(const Value& v) {
  auto* o = dynamic_cast<TextFieldObject*>(v.asObject());
  return o ? o->target() : nullptr;
}

// Text fields and buttons take the focus; clips when focusEnabled says so
// or when a button handler makes them act as buttons.
bool focusable(Vm& vm, Object* o) {
  if (fieldOf(Value(o)) || o->clip()->actsAsButton()) return true;
  if (vm.toBoolean(o->get("focusEnabled"))) return true;
  for (const char* handler :
       {"onPress", "onRelease", "onReleaseOutside", "onRollOver", "onRollOut", "onDragOver", "onDragOut"}) {
    if (o->get(handler).asObject() && !vm.unwinding()) return true;
  }
  return false;
}

void selectAll(SelectionObject* sel, const Value& focus) {
  if (TextFieldTarget* t = fieldOf(focus)) {
    sel->selected = true;
    size_t n = t->field().length();
    t->field().setSelection({0, n, n});
  }
}

Value setFocus(Vm& vm, SelectionObject* sel, const Value& target) {
  Object* next = nullptr;
  if (target.isString()) {
    next = objectAtPath(vm, target.text);
    if (!next) return Value(false);
  } else if (!target.isNullish()) {
    next = target.asObject();
    if (!next || !next->clip() || !focusable(vm, next)) return Value(false);
  }
  Value old = sel->focus;
  Value now = next ? Value(next) : Value::null();
  if (old.isObject() ? old.object == next : !next) {
    selectAll(sel, now);
    return Value(true);
  }
  sel->focus = now;
  sel->selected = false;
  if (old.isObject()) vm.callMethod(old, "onKillFocus", {now});
  if (next && !vm.unwinding()) vm.callMethod(now, "onSetFocus", {old});
  if (!vm.unwinding()) vm.callMethod(Value(sel), "broadcastMessage", {Value("onSetFocus"), old, now});
  if (sel->focus.isObject() && sel->focus.object == next) selectAll(sel, now);
  return Value(true);
}

// A position from script within a text of n characters.
size_t clampIndex(Vm& vm, const Value& v, size_t n) {
  double d = vm.toNumber(v);
  if (std::isnan(d) || d < 0) return 0;
  return d >= double(n) ? n : size_t(d);
}

// (begin[, end]): the caret goes to end, the selection between the two.
Value setSelection(Vm& vm, SelectionObject* sel, const Args& args) {
  TextFieldTarget* t = fieldOf(sel->focus);
  if (!t || args.empty()) return Value();
  size_t n = t->field().length();
  size_t a = clampIndex(vm, args[0], n);
  size_t b = args.size() > 1 ? clampIndex(vm, args[1], n) : n;
  t->field().setSelection({std::min(a, b), std::max(a, b), b});
  sel->selected = true;
  return Value();
}

enum class Index { Begin, End, Caret };

Value selectionIndex(SelectionObject* sel, Index which) {
  TextFieldTarget* t = fieldOf(sel->focus);
  if (!t || !sel->selected) return Value(-1);
  TextField::Selection s = t->field().selection();
  return Value(double(which == Index::Begin ? s.begin : which == Index::End ? s.end : s.caret));
}

}  // namespace

void installSelectionClass(Vm& vm) {
  auto* sel = vm.make<SelectionObject>(vm.objectPrototype());
  vm.global()->define("Selection", Value(sel), DontEnum);
  vm.defineMethod(sel, "getBeginIndex",
                  [sel](Vm&, const Value&, const Args&) { return selectionIndex(sel, Index::Begin); });
  vm.defineMethod(sel, "getEndIndex",
                  [sel](Vm&, const Value&, const Args&) { return selectionIndex(sel, Index::End); });
  vm.defineMethod(sel, "getCaretIndex",
                  [sel](Vm&, const Value&, const Args&) { return selectionIndex(sel, Index::Caret); });
  vm.defineMethod(sel, "setSelection",
                  [sel](Vm& vm, const Value&, const Args& args) { return setSelection(vm, sel, args); });
  vm.defineMethod(sel, "getFocus", [sel](Vm& vm, const Value&, const Args&) -> Value {
    if (!sel->focus.isObject()) return Value::null();
    return Value(vm.toString(sel->focus));
  });
  vm.defineMethod(sel, "setFocus",
                  [sel](Vm& vm, const Value&, const Args& args) -> Value { return setFocus(vm, sel, arg(args, 0)); });
  initializeBroadcaster(vm, sel);
  sel->changeAllFlags(DontEnum | DontDelete | ReadOnly, 0);
}

}  // namespace avm1
}  // namespace swf
