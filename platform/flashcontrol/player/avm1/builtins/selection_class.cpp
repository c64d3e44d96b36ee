// Selection: which object has the keyboard focus. Nobody types while a
// movie exports, so only scripts move it (setFocus); the objects losing and
// taking it hear onKillFocus and onSetFocus, then Selection's listeners
// onSetFocus. No text is ever selected.
#include "../action_target.h"
#include "../vm.h"
#include "builtins.h"

namespace swf {
namespace avm1 {
namespace {

class SelectionObject : public Object {
 public:
  using Object::Object;
  Value focus = Value::null();
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

Value setFocus(Vm& vm, SelectionObject* sel, const Value& target) {
  Object* next = nullptr;
  if (target.isString()) {
    next = objectAtPath(vm, target.text);
    if (!next) return Value(false);
  } else if (!target.isNullish()) {
    next = target.asObject();
    if (!next || !next->clip()) return Value(false);
  }
  Value old = sel->focus;
  Value now = next ? Value(next) : Value::null();
  if (old.isObject() ? old.object == next : !next) return Value(true);
  sel->focus = now;
  if (old.isObject()) vm.callMethod(old, "onKillFocus", {now});
  if (next && !vm.unwinding()) vm.callMethod(now, "onSetFocus", {old});
  if (!vm.unwinding()) vm.callMethod(Value(sel), "broadcastMessage", {Value("onSetFocus"), old, now});
  return Value(true);
}

}  // namespace

void installSelectionClass(Vm& vm) {
  auto* sel = vm.make<SelectionObject>(vm.objectPrototype());
  vm.global()->define("Selection", Value(sel), kDontEnum);
  NativeFn none = [](Vm&, const Value&, const Args&) -> Value { return Value(-1); };
  vm.defineMethod(sel, "getBeginIndex", none);
  vm.defineMethod(sel, "getEndIndex", none);
  vm.defineMethod(sel, "getCaretIndex", none);
  vm.defineMethod(sel, "setSelection", [](Vm&, const Value&, const Args&) -> Value { return Value(); });
  vm.defineMethod(sel, "getFocus", [sel](Vm& vm, const Value&, const Args&) -> Value {
    if (!sel->focus.isObject()) return Value::null();
    return Value(vm.toString(sel->focus));
  });
  vm.defineMethod(sel, "setFocus", [sel](Vm& vm, const Value&, const Args& args) -> Value {
    return setFocus(vm, sel, arg(args, 0));
  });
  initializeBroadcaster(vm, sel);
  sel->changeAllFlags(kDontEnum | kDontDelete | kReadOnly, 0);
}

}  // namespace avm1
}  // namespace swf
