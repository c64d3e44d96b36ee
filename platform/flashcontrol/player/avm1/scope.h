// The scope chain: a linked list of objects searched for variable names,
// innermost first. Nodes are heap objects so closures keep them alive.
#pragma once

#include "object.h"

namespace swf {
namespace avm1 {

class Scope : public Object {
 public:
  enum class Kind : uint8_t { Global, Target, With, Local };
  Scope(Vm& vm, Kind kind, Object* object, Scope* parent)
      : Object(vm, nullptr), kind(kind), object(object), parent(parent) {}

  Kind kind;
  Object* object;  // never nullptr
  Scope* parent;

  void references(std::vector<Object*>& out) const override {
    Object::references(out);
    out.push_back(object);
    if (parent) out.push_back(parent);
  }
};

}  // namespace avm1
}  // namespace swf
