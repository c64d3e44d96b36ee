// The built-in classes and global functions, each installed on a Vm's
// _global by its own file.
#pragma once

#include <string>

namespace swf {
namespace avm1 {

class ActionTarget;
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
void installContextMenuClasses(Vm& vm);
void installSoundClass(Vm& vm);
void installLocalConnectionClass(Vm& vm);
// flash.geom (builtins/geom/).
void installPointClass(Vm& vm);
void installRectangleClass(Vm& vm);
void installMatrixClass(Vm& vm);
void installColorTransformClass(Vm& vm);
void installTransformClass(Vm& vm);
void installBitmapDataClass(Vm& vm);
void installFileReferenceClass(Vm& vm);
void installFileReferenceListClass(Vm& vm);
void installNetConnectionClass(Vm& vm);
void installBlurFilterClass(Vm& vm);
// MovieClip.prototype.transform.
void defineClipTransform(Vm& vm, Object* movieClipProto);

// The clip at a dotted or slash path from the root ("_root.a.b", "/a/b").
ActionTarget* clipAtPath(Vm& vm, const std::string& path);
// TextField.StyleSheet, a property of the TextField constructor.
void installStyleSheetClass(Vm& vm, Object* textField);

// AsBroadcaster.initialize: _listeners and the broadcaster's methods on target.
void initializeBroadcaster(Vm& vm, Object* target);

}  // namespace avm1
}  // namespace swf
