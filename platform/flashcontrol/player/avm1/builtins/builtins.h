// The built-in classes and global functions, each installed on a Vm's
// _global by its own file.
#pragma once

namespace swf {
namespace avm1 {

class Vm;

void installBuiltins(Vm& vm);

void installObjectClass(Vm& vm);
void installFunctionClass(Vm& vm);
void installGlobalFunctions(Vm& vm);
void installArrayClass(Vm& vm);
void installStringClass(Vm& vm);
void installNumberClass(Vm& vm);
void installBooleanClass(Vm& vm);
void installMathClass(Vm& vm);
void installBroadcaster(Vm& vm);
void installErrorClass(Vm& vm);

}  // namespace avm1
}  // namespace swf
