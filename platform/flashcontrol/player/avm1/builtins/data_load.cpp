#include "data_load.h"

#include "../vm.h"
#include "url_text.h"

namespace swf {
namespace avm1 {
namespace {

// Kept on the receiver, hidden, as the real player keeps them.
constexpr const char* kBytesLoaded = "_bytesLoaded";
constexpr const char* kBytesTotal = "_bytesTotal";

}  // namespace

void startDataLoad(Vm& vm, const std::string& url, Object* receiver) {
  receiver->define("loaded", Value(false), DontEnum);
  receiver->define(kBytesLoaded, Value(0), DontEnum);
  receiver->define(kBytesTotal, Value(), DontEnum);
  if (!vm.host()) return;
  vm.host()->requestLoad(url, receiver, [&vm, receiver](bool ok, const std::string& bytes) {
    if (ok) {
      receiver->define(kBytesLoaded, Value(double(bytes.size())), DontEnum);
      receiver->define(kBytesTotal, Value(double(bytes.size())), DontEnum);
    }
    vm.callMethod(Value(receiver), "onData", {ok ? Value(loadedText(vm, bytes)) : Value()});
  });
}

void loadVariables(Vm& vm, const std::string& url, Object* target) {
  if (!vm.host()) return;
  vm.host()->requestLoad(url, target, [&vm, target](bool ok, const std::string& bytes) {
    if (ok) decodeVariables(vm, target, loadedText(vm, bytes));
  });
}

double bytesLoaded(Object* receiver, bool total, bool& known) {
  Value v = receiver->get(total ? kBytesTotal : kBytesLoaded);
  known = v.isNumber();
  return known ? v.number : 0;
}

}  // namespace avm1
}  // namespace swf
