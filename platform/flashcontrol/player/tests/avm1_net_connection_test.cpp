// NetConnection without a network: the local connection succeeds at once,
// a gateway address is only recorded, and status reaches onStatus while
// connect and close run.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "avm1_builtin_support.h"

namespace {

using namespace avm1test;

// onStatus recording each info's code ("none" when called without one).
std::shared_ptr<std::vector<std::string>> recordStatus(World& w, const Value& nc) {
  auto seen = std::make_shared<std::vector<std::string>>();
  nc.object->set("onStatus", Value(w.vm.newFunction([seen](Vm& vm, const Value&, const Args& args) -> Value {
                   Object* info = args.empty() ? nullptr : args[0].asObject();
                   seen->push_back(info ? vm.toString(info->get("code")) : "none");
                   return Value();
                 })));
  return seen;
}

using Codes = std::vector<std::string>;

TEST(Avm1NetConnection, LocalConnectionSucceedsAndReconnectingClosesFirst) {
  World w(8);
  Value nc = w.make("NetConnection");
  auto seen = recordStatus(w, nc);
  w.call(nc, "close");
  EXPECT_TRUE(seen->empty());
  EXPECT_FALSE(w.vm.toBoolean(nc.object->get("isConnected")));
  EXPECT_TRUE(w.vm.toBoolean(w.call(nc, "connect", {Value::null()})));
  EXPECT_TRUE(w.vm.toBoolean(nc.object->get("isConnected")));
  w.call(nc, "connect", {Value::null()});
  w.call(nc, "close");
  EXPECT_EQ(*seen, (Codes{"NetConnection.Connect.Success", "NetConnection.Connect.Closed",
                          "NetConnection.Connect.Success", "NetConnection.Connect.Closed"}));
  EXPECT_FALSE(w.vm.toBoolean(w.call(nc, "connect")));
}

TEST(Avm1NetConnection, AGatewayIsRecordedAndClosingItSaysSoTwice) {
  World w(8);
  Value nc = w.make("NetConnection");
  auto seen = recordStatus(w, nc);
  EXPECT_TRUE(w.vm.toBoolean(w.call(nc, "connect", {Value("http://example.org")})));
  EXPECT_TRUE(seen->empty());
  EXPECT_FALSE(w.vm.toBoolean(nc.object->get("isConnected")));
  w.call(nc, "close");
  EXPECT_EQ(*seen, (Codes{"NetConnection.Connect.Closed", "none"}));
  EXPECT_TRUE(World(5).global("NetConnection").isUndefined());
}

}  // namespace
