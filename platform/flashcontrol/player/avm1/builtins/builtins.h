// The built-in classes and global functions, each installed on a Vm's
// _global by its own file.
#pragma once

namespace swf {
namespace avm1 {

class Object;
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
void installDateClass(Vm& vm);
void installErrorClass(Vm& vm);
void installAsBroadcaster(Vm& vm);
void installTimerFunctions(Vm& vm);
void installColorClass(Vm& vm);
void installKeyClass(Vm& vm);
void installMouseClass(Vm& vm);
void installStageClass(Vm& vm);
void installSystemClass(Vm& vm);
void installTextFormatClass(Vm& vm);
void installSelectionClass(Vm& vm);
void installXmlNodeClass(Vm& vm);
void installXmlClass(Vm& vm);
void installAsNative(Vm& vm);
void installLoadVarsClass(Vm& vm);
void installExternalInterfaceClass(Vm& vm);
void installPrintJobClass(Vm& vm);
void installMovieClipLoaderClass(Vm& vm);
// TextField.StyleSheet, a property of the TextField constructor.
void installStyleSheetClass(Vm& vm, Object* textField);

// AsBroadcaster.initialize: _listeners and the broadcaster's methods on target.
void initializeBroadcaster(Vm& vm, Object* target);

}  // namespace avm1
}  // namespace swf
