#include "file_dialogs.h"

#include "../../vm.h"

namespace swf {
namespace avm1 {

Value openFileDialog(Vm& vm, const Value& self) {
  Object* o = self.asObject();
  if (!o) return Value(false);
  if (vm.host()) vm.host()->broadcastAfterActions(o, {Value("onCancel"), self});
  return Value(true);
}

}  // namespace avm1
}  // namespace swf
