// Loading files into script objects: XML and LoadVars receive the text
// through their onData method at a later tick, loadVariables puts the
// variables straight on a clip.
#pragma once

#include <string>

namespace swf {
namespace avm1 {

class Object;
class Vm;

// receiver.loaded becomes false now; later receiver.onData(text), or
// onData(undefined) when nothing loaded.
void startDataLoad(Vm& vm, const std::string& url, Object* receiver);
// loadVariables/loadVariablesNum: the file's name=value pairs onto target.
void loadVariables(Vm& vm, const std::string& url, Object* target);
// getBytesLoaded/getBytesTotal of a receiver (undefined before a load).
double bytesLoaded(Object* receiver, bool total, bool& known);

}  // namespace avm1
}  // namespace swf
