// flash.net.FileReference and FileReferenceList in a player nobody sits
// at: dialogs open and are cancelled once the running actions end, in the
// same frame; nothing is ever chosen, so nothing uploads.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "avm1_builtin_support.h"
#include "swf_builder.h"
#include "timeline/stage.h"

namespace {

using avm1test::Value;
using avm1test::World;
using mvqtest::ActionBuilder;
using mvqtest::PushValue;
using mvqtest::SwfBuilder;
using Lines = std::vector<std::string>;

TEST(Avm1FileReference, DialogsOpenAndReportCancelLater) {
  World w;
  for (const char* name : {"FileReference", "FileReferenceList"}) {
    Value f = w.make("flash.net." + std::string(name));
    ASSERT_TRUE(f.isObject()) << name;
    w.host.afterActions.clear();
    EXPECT_TRUE(w.vm.toBoolean(w.call(f, "browse"))) << name;
    ASSERT_EQ(w.host.afterActions.size(), 1u) << name;
    EXPECT_EQ(w.host.afterActions[0].first, f.object);
    EXPECT_EQ(w.text(w.host.afterActions[0].second.at(0)), "onCancel");
    EXPECT_EQ(w.host.afterActions[0].second.at(1).asObject(), f.object);
  }
  EXPECT_TRUE(w.global("flash.net.FileReferenceList.prototype.fileList").isUndefined());
}

TEST(Avm1FileReference, DownloadNeedsAnAddressAndUploadHasNoFile) {
  World w;
  Value f = w.make("flash.net.FileReference");
  EXPECT_FALSE(w.vm.toBoolean(w.call(f, "download")));
  EXPECT_FALSE(w.vm.toBoolean(w.call(f, "upload", {Value("http://example.com")})));
  EXPECT_TRUE(w.host.afterActions.empty());
  EXPECT_TRUE(w.vm.toBoolean(w.call(f, "download", {Value("http://example.com/a.txt")})));
  EXPECT_EQ(w.host.afterActions.size(), 1u);
  for (const char* detail : {"name", "size", "type", "creator", "creationDate", "modificationDate"}) {
    EXPECT_TRUE(f.object->get(detail).isUndefined()) << detail;
  }
  EXPECT_TRUE(World(7).global("flash").isUndefined());
}

enum : uint8_t {
  kCallMethod = 0x52,
  kGetMember = 0x4E,
  kGetVariable = 0x1C,
  kNewMethod = 0x53,
  kNewObject = 0x40,
  kPop = 0x17,
  kSetMember = 0x4F,
  kSetVariable = 0x1D,
  kTrace = 0x26,
  kDefineFunction = 0x9B,
};

PushValue S(const std::string& s) { return PushValue::string(s); }
PushValue I(int32_t n) { return PushValue::integer(n); }

// The listener hears onCancel after the frame's last action, before the
// frame ends.
TEST(Avm1FileReference, CancelArrivesAfterTheFramesActions) {
  ActionBuilder body;
  body.push(S("cancel")).action(kTrace);
  ActionBuilder a;
  a.push({S("f"), I(0), S("flash")}).action(kGetVariable).push(S("net")).action(kGetMember);
  a.push(S("FileReference")).action(kNewMethod).action(kSetVariable);
  a.push({S("l"), I(0), S("Object")}).action(kNewObject).action(kSetVariable);
  a.push(S("l")).action(kGetVariable).push(S("onCancel"));
  a.action(kDefineFunction, {0, 0, 0, uint8_t(body.size()), 0}).raw(body.bytes()).action(kSetMember);
  a.push(S("l")).action(kGetVariable).push({I(1), S("f")}).action(kGetVariable);
  a.push(S("addListener")).action(kCallMethod).action(kPop);
  a.push({I(0), S("f")}).action(kGetVariable).push(S("browse")).action(kCallMethod).action(kTrace);
  a.push(S("end")).action(kTrace);
  SwfBuilder b;
  b.version(8).doAction(a).showFrame();
  swf::Movie movie;
  ASSERT_TRUE(movie.parse(b.finish()));
  Lines lines;
  swf::Stage stage(movie, nullptr, nullptr, [&lines](const std::string& l) { lines.push_back(l); });
  EXPECT_EQ(lines, (Lines{"true", "end", "cancel"}));
}

}  // namespace
