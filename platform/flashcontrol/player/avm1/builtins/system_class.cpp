// System: the capabilities of a Flash Player 8 on Windows, and the
// security and settings calls, which have nothing to do here.
#include "../vm.h"
#include "builtins.h"

namespace swf {
namespace avm1 {
namespace {

void defineCapabilities(Vm& vm, Object* system) {
  Object* caps = vm.newObject();
  system->define("capabilities", Value(caps), DontEnum);
  static const struct {
    const char* name;
    bool value;
  } kFlags[] = {{"avHardwareDisable", false},
                {"hasAccessibility", false},
                {"hasAudio", true},
                {"hasAudioEncoder", false},
                {"hasEmbeddedVideo", true},
                {"hasIME", false},
                {"hasMP3", true},
                {"hasPrinting", false},
                {"hasScreenBroadcast", false},
                {"hasScreenPlayback", false},
                {"hasStreamingAudio", true},
                {"hasStreamingVideo", true},
                {"hasTLS", false},
                {"hasVideoEncoder", false},
                {"isDebugger", false},
                {"localFileReadDisable", false},
                {"windowlessDisable", false}};
  for (const auto& f : kFlags) caps->define(f.name, Value(f.value), 0);
  caps->define("language", Value("en"), 0);
  caps->define("manufacturer", Value("Macromedia Windows"), 0);
  caps->define("os", Value("Windows XP"), 0);
  caps->define("pixelAspectRatio", Value(1), 0);
  caps->define("playerType", Value("StandAlone"), 0);
  caps->define("screenColor", Value("color"), 0);
  caps->define("screenDPI", Value(96), 0);
  caps->define("screenResolutionX", Value(1024), 0);
  caps->define("screenResolutionY", Value(768), 0);
  caps->define("version", Value("WIN 8,0,22,0"), 0);
  caps->define("serverString",
               Value("A=t&SA=t&SV=t&EV=t&MP3=t&AE=f&VE=f&ACC=f&PR=f&SP=f&SB=f&DEB=f&V=WIN%208%2C0%2C22%2C0"
                     "&M=Macromedia%20Windows&R=1024x768&DP=96&COL=color&AR=1.0&OS=Windows%20XP&L=en"
                     "&IME=f&PT=StandAlone&AVD=f&LFD=f&WD=f&TLS=f"),
               0);
}

}  // namespace

void installSystemClass(Vm& vm) {
  Object* system = vm.newObject();
  vm.global()->define("System", Value(system), DontEnum);
  defineCapabilities(vm, system);
  NativeFn nothing = [](Vm&, const Value&, const Args&) -> Value { return Value(); };
  Object* security = vm.newObject();
  system->define("security", Value(security), DontEnum);
  for (const char* name : {"allowDomain", "allowInsecureDomain", "loadPolicyFile"}) {
    vm.defineMethod(security, name, nothing);
  }
  // No input method editor: present, off, and a broadcaster nobody hears from.
  Object* ime = vm.newObject();
  system->define("IME", Value(ime), DontEnum);
  vm.defineMethod(ime, "getEnabled", [](Vm&, const Value&, const Args&) -> Value { return Value(false); });
  for (const char* name : {"setEnabled", "setConversionMode", "setCompositionString", "doConversion"}) {
    vm.defineMethod(ime, name, [](Vm&, const Value&, const Args&) -> Value { return Value(false); });
  }
  initializeBroadcaster(vm, ime);
  vm.defineMethod(system, "setClipboard", nothing);
  vm.defineMethod(system, "showSettings", nothing);
  system->define("useCodepage", Value(false), DontEnum);
  system->define("exactSettings", Value(vm.version() >= 7), DontEnum);
}

}  // namespace avm1
}  // namespace swf
