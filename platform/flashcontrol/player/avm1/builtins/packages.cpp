#include "packages.h"

#include "../vm.h"

namespace swf {
namespace avm1 {

Object* packageObject(Vm& vm, const std::string& dottedName) {
  Object* at = vm.global();
  size_t start = 0;
  while (start <= dottedName.size()) {
    size_t dot = dottedName.find('.', start);
    if (dot == std::string::npos) dot = dottedName.size();
    std::string name = dottedName.substr(start, dot - start);
    // The table itself: older movies do not see the packages, yet each
    // class of a package must land in the same one.
    Object* next = nullptr;
    for (const Property& p : at->ownProperties()) {
      if (p.name == name) next = p.value.asObject();
    }
    if (!next) {
      next = vm.newObject();
      at->define(name, Value(next), at == vm.global() ? DontEnum | Version8 : DontEnum);
    }
    at = next;
    start = dot + 1;
  }
  return at;
}

}  // namespace avm1
}  // namespace swf
