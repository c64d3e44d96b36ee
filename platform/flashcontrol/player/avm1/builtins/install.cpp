#include "builtins.h"

#include "../vm.h"

namespace swf {
namespace avm1 {

void installBuiltins(Vm& vm) {
  installObjectClass(vm);
  installFunctionClass(vm);
  installGlobalFunctions(vm);
  installArrayClass(vm);
  installStringClass(vm);
  installNumberClass(vm);
  installBooleanClass(vm);
  installMathClass(vm);
  installDateClass(vm);
  installErrorClass(vm);
  installAsBroadcaster(vm);
  installTimerFunctions(vm);
  installColorClass(vm);
  // Key, Mouse and Stage are broadcasters: after AsBroadcaster.
  installKeyClass(vm);
  installMouseClass(vm);
  installStageClass(vm);
  installSystemClass(vm);
  installTextFormatClass(vm);
  installSelectionClass(vm);
  // Key, Mouse and Stage have their listeners in every version; scripts
  // see AsBroadcaster itself from version 6.
  vm.global()->changeFlags("AsBroadcaster", Version6, 0);
  installXmlNodeClass(vm);
  installXmlClass(vm);
  installLoadVarsClass(vm);
  installExternalInterfaceClass(vm);
  installPrintJobClass(vm);
  installAsNative(vm);
  installMovieClipLoaderClass(vm);
  vm.global()->changeFlags("MovieClipLoader", Version7, 0);
  installContextMenuClasses(vm);
  installSoundClass(vm);
  installLocalConnectionClass(vm);
  installPointClass(vm);
  installRectangleClass(vm);
  installMatrixClass(vm);
  installColorTransformClass(vm);
  installTransformClass(vm);
  installBitmapDataClass(vm);
  installFileReferenceClass(vm);
  installFileReferenceListClass(vm);
  installNetConnectionClass(vm);
  installBlurFilterClass(vm);
}

}  // namespace avm1
}  // namespace swf
