// NetConnection (version 6 on) without a network. connect(null), the local
// connection for progressive video, succeeds at once; an address is a
// Flash Remoting gateway, recorded and never reached. Status events reach
// onStatus while connect and close run, as the real player sends them.
#include "../../vm.h"
#include "../builtins.h"
#include "../geom/script_ops.h"

namespace swf {
namespace avm1 {
namespace {

enum class Link { None, Local, Gateway };

class NetConnectionObject : public Object {
 public:
  NetConnectionObject(Vm& vm, Object* proto) : Object(vm, proto) {}
  Link link = Link::None;
};

NetConnectionObject* self(const Value& v) { return dynamic_cast<NetConnectionObject*>(v.asObject()); }

void tellStatus(Vm& vm, NetConnectionObject* nc, const char* code) {
  Object* info = vm.newObject();
  info->set("code", Value(code));
  info->set("level", Value("status"));
  vm.callMethod(Value(static_cast<Object*>(nc)), "onStatus", {Value(info)});
}

// Closing a gateway also brings an onStatus without an info object.
void close(Vm& vm, NetConnectionObject* nc) {
  Link was = nc->link;
  nc->link = Link::None;
  if (was == Link::None) return;
  tellStatus(vm, nc, "NetConnection.Connect.Closed");
  if (was == Link::Gateway && !vm.unwinding()) vm.callMethod(Value(static_cast<Object*>(nc)), "onStatus", {});
}

Value connect(Vm& vm, const Value& v, const Args& args) {
  NetConnectionObject* nc = self(v);
  if (!nc || args.empty()) return Value(false);
  close(vm, nc);
  if (vm.unwinding()) return Value();
  if (!args[0].isNullish()) {
    nc->link = Link::Gateway;
    return Value(true);
  }
  nc->link = Link::Local;
  tellStatus(vm, nc, "NetConnection.Connect.Success");
  return Value(true);
}

Value construct(Vm& vm, const Value& made, const Args&) {
  Object* o = made.asObject();
  auto* nc = vm.make<NetConnectionObject>(o ? o->proto() : nullptr);
  if (o) {
    for (const Property& p : o->ownProperties()) nc->define(p.name, p.value, p.flags);
  }
  return Value(static_cast<Object*>(nc));
}

}  // namespace

void installNetConnectionClass(Vm& vm) {
  Object* proto = vm.newObject();
  vm.defineClass(
      "NetConnection", proto, [](Vm&, const Value&, const Args&) { return Value(); }, construct);
  vm.defineMethod(proto, "connect", connect);
  vm.defineMethod(proto, "close", [](Vm& vm, const Value& v, const Args&) -> Value {
    if (NetConnectionObject* nc = self(v)) close(vm, nc);
    return Value();
  });
  scriptAccessor(
      vm, proto, "isConnected",
      [](Vm&, const Value& v, const Args&) { return self(v) ? Value(self(v)->link == Link::Local) : Value(); },
      nullptr);
  vm.global()->changeFlags("NetConnection", Version6, 0);
}

}  // namespace avm1
}  // namespace swf
