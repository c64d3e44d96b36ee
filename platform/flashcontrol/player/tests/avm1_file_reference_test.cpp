// flash.net.FileReference and FileReferenceList in a player nobody sits
// at: dialogs open and are cancelled once the running actions end, in the
// same frame; nothing is ever chosen, so nothing uploads.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "action_steps.h"
#include "avm1_builtin_support.h"
#include "swf_builder.h"
#include "timeline/stage.h"

namespace {

using namespace avm1test;
using namespace playertest;

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

// The listener hears onCancel after the frame's last action, before the
// frame ends.
TEST(Avm1FileReference, CancelArrivesAfterTheFramesActions) {
  ActionBuilder body;
  body.push(str("cancel")).action(Code::Trace);
  ActionBuilder a;
  a.push({str("f"), i32(0), str("flash")}).action(Code::GetVariable).push(str("net")).action(Code::GetMember);
  a.push(str("FileReference")).action(Code::NewMethod).action(Code::SetVariable);
  a.push({str("l"), i32(0), str("Object")}).action(Code::NewObject).action(Code::SetVariable);
  a.push(str("l")).action(Code::GetVariable).push(str("onCancel"));
  defineFunction(a, "", {}, body).action(Code::SetMember);
  a.push(str("l")).action(Code::GetVariable).push({i32(1), str("f")}).action(Code::GetVariable);
  a.push(str("addListener")).action(Code::CallMethod).action(Code::Pop);
  a.push({i32(0), str("f")}).action(Code::GetVariable).push(str("browse")).action(Code::CallMethod).action(Code::Trace);
  a.push(str("end")).action(Code::Trace);
  SwfBuilder b;
  b.version(8).doAction(a).showFrame();
  swf::Movie movie;
  ASSERT_TRUE(movie.parse(b.finish()));
  Lines lines;
  swf::Stage stage(movie, nullptr, nullptr, [&lines](const std::string& l) { lines.push_back(l); });
  EXPECT_EQ(lines, (Lines{"true", "end", "cancel"}));
}

}  // namespace
