// The package objects of version 8's classes (flash.external, flash.geom,
// ...): plain objects on _global, made on first use.
#pragma once

#include <string>

namespace swf {
namespace avm1 {

class Object;
class Vm;

// _global.a.b.c for "a.b.c", each step made when missing.
Object* packageObject(Vm& vm, const std::string& dottedName);

}  // namespace avm1
}  // namespace swf
