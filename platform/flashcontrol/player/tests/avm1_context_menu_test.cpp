// ContextMenu and ContextMenuItem: defaults, copies and what copies share.
#include <gtest/gtest.h>

#include "avm1_builtin_support.h"

namespace {

using namespace avm1test;

TEST(Avm1ContextMenu, CopiesCustomItemsButSharesTheBuiltInFlags) {
  World w;
  Value menu = w.make("ContextMenu", {Value(1)});
  EXPECT_EQ(w.number(menu.object->get("onSelect")), 1);
  Value builtIns = menu.object->get("builtInItems");
  EXPECT_TRUE(w.vm.toBoolean(builtIns.object->get("forward_back")));
  w.call(menu.object->get("customItems"), "push", {w.make("ContextMenuItem", {Value("a")})});
  Value copy = w.call(menu, "copy");
  EXPECT_EQ(copy.object->get("builtInItems").object, builtIns.object);
  Value items = copy.object->get("customItems");
  EXPECT_EQ(w.number(items.object->get("length")), 1);
  EXPECT_NE(items.object->get("0").object, menu.object->get("customItems").object->get("0").object);
  w.call(menu, "hideBuiltInItems");
  EXPECT_FALSE(w.vm.toBoolean(copy.object->get("builtInItems").object->get("save")));
}

TEST(Avm1ContextMenu, ItemDefaultsAndVersions) {
  World w;
  Value item = w.make("ContextMenuItem", {Value("Caption")});
  EXPECT_FALSE(w.vm.toBoolean(item.object->get("separatorBefore")));
  EXPECT_TRUE(w.vm.toBoolean(item.object->get("enabled")));
  EXPECT_TRUE(w.vm.toBoolean(item.object->get("visible")));
  EXPECT_EQ(w.text(w.call(item, "copy").object->get("caption")), "Caption");
  // Older movies have the classes but not their methods.
  World old(6);
  Value oldMenu = old.make("ContextMenu");
  EXPECT_TRUE(oldMenu.object->get("builtInItems").isObject());
  EXPECT_TRUE(oldMenu.object->get("copy").isUndefined());
}

}  // namespace
