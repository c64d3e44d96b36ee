// ContextMenu and ContextMenuItem: the right-click menu's description. An
// export has no mouse, so the menus are only ever built, copied and read.
#include "../array_object.h"
#include "../vm.h"
#include "builtins.h"

namespace swf {
namespace avm1 {
namespace {

// The player's own entries, in the order scripts enumerate them.
const char* const kBuiltIns[] = {"print", "forward_back", "rewind", "loop", "play", "quality", "zoom", "save"};

Object* newBuiltIns(Vm& vm) {
  Object* items = vm.newObject();
  for (const char* name : kBuiltIns) items->set(name, Value(true));
  return items;
}

Object* builtInsOf(Vm& vm, Object* menu) {
  Object* items = menu->get("builtInItems").asObject();
  return items ? items : newBuiltIns(vm);
}

void setMenu(Vm& vm, Object* menu, const Value& onSelect, Object* builtIns, ArrayObject* custom) {
  menu->set("onSelect", onSelect);
  menu->set("builtInItems", Value(builtIns));
  menu->set("customItems", Value(static_cast<Object*>(custom)));
}

// A copy of the menu: copies of the custom items; the built-in flags stay
// shared with the original, as in the real player.
Value copyMenu(Vm& vm, const Value& self, const Args&) {
  Object* menu = self.asObject();
  if (!menu) return Value();
  Object* copy = vm.newObject(vm.classPrototype("ContextMenu"));
  ArrayObject* custom = vm.newArray();
  Object* items = menu->get("customItems").asObject();
  double n = items ? vm.toNumber(items->get("length")) : 0;
  for (double i = 0; i < n && i < 100000 && !vm.unwinding(); ++i) {
    Value item = items->get(vm.toString(Value(i)));
    Value itemCopy = vm.callMethod(item, "copy", {});
    custom->set(vm.toString(Value(i)), itemCopy.isUndefined() ? item : itemCopy);
  }
  setMenu(vm, copy, menu->get("onSelect"), builtInsOf(vm, menu), custom);
  return Value(copy);
}

Value hideBuiltIns(Vm& vm, const Value& self, const Args&) {
  Object* menu = self.asObject();
  Object* items = menu ? menu->get("builtInItems").asObject() : nullptr;
  if (items) {
    for (const char* name : kBuiltIns) items->set(name, Value(false));
  }
  return Value();
}

void setItem(Object* item, const Value& caption, const Value& onSelect, const Value& separator, const Value& enabled,
             const Value& visible) {
  item->set("caption", caption);
  item->set("onSelect", onSelect);
  item->set("separatorBefore", separator);
  item->set("enabled", enabled);
  item->set("visible", visible);
}

Value copyItem(Vm& vm, const Value& self, const Args&) {
  Object* item = self.asObject();
  if (!item) return Value();
  Object* copy = vm.newObject(vm.classPrototype("ContextMenuItem"));
  setItem(copy, item->get("caption"), item->get("onSelect"), item->get("separatorBefore"), item->get("enabled"),
          item->get("visible"));
  return Value(copy);
}

}  // namespace

void installContextMenuClasses(Vm& vm) {
  Object* menuProto = vm.newObject();
  vm.defineClass("ContextMenu", menuProto, [](Vm& vm, const Value& self, const Args& args) -> Value {
    if (Object* o = self.asObject()) setMenu(vm, o, arg(args, 0), newBuiltIns(vm), vm.newArray());
    return Value();
  });
  vm.defineMethod(menuProto, "copy", copyMenu);
  vm.defineMethod(menuProto, "hideBuiltInItems", hideBuiltIns);
  Object* itemProto = vm.newObject();
  vm.defineClass("ContextMenuItem", itemProto, [](Vm&, const Value& self, const Args& args) -> Value {
    auto orDefault = [&](size_t i, bool d) { return i < args.size() ? args[i] : Value(d); };
    if (Object* o = self.asObject()) {
      setItem(o, arg(args, 0), arg(args, 1), orDefault(2, false), orDefault(3, true), orDefault(4, true));
    }
    return Value();
  });
  vm.defineMethod(itemProto, "copy", copyItem);
  // The classes are there for every movie, their methods from version 7.
  menuProto->changeFlags("copy", Version7, 0);
  menuProto->changeFlags("hideBuiltInItems", Version7, 0);
  itemProto->changeFlags("copy", Version7, 0);
}

}  // namespace avm1
}  // namespace swf
