// What the file dialogs of flash.net.FileReference and FileReferenceList
// report in a player nobody sits at: every dialog is cancelled.
#pragma once

#include "../../function.h"

namespace swf {
namespace avm1 {

// The dialog opens (true); once the running actions finish, the object's
// listeners hear onCancel(object).
Value openFileDialog(Vm& vm, const Value& self);

}  // namespace avm1
}  // namespace swf
