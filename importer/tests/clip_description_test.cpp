// imGetInfo and imCloseFile through the editor host: how movies are
// described, where clip lengths come from, and how unusable movies and
// controls are answered.
#include <gtest/gtest.h>

#include "editor_module.h"
#include "plugin_fixture.h"
#include "registry_snapshot.h"
#include "tag_stream.h"

namespace {

using editor::ClipDescription;
using editor::HostClip;
using mvqtest::Bytes;
using mvqtest::Rect;
using mvqtest::SwfBuilder;

using ClipDescriptionTest = PluginTest;

TEST_F(ClipDescriptionTest, WholeFrameRateGivesScaleAndOneSampleAndSetsTheLength) {
  ClipDescription d;
  HostClip& c = describedClip(movie("twelve.swf", squareMovie(120, 12)), &d);
  EXPECT_EQ(d.vidScale, 12);
  EXPECT_EQ(d.vidSampleSize, 1);
  EXPECT_EQ(d.vidDuration, 120);
  EXPECT_EQ(settingsOf(c)[0], 120);
  EXPECT_EQ(settingsOf(c)[1], 1);
  EXPECT_EQ(settingsOf(c)[2], 0);
  EXPECT_EQ(d.width, 120);
  EXPECT_EQ(d.height, 40);
  EXPECT_EQ(d.depth, 32);
  EXPECT_EQ(d.subType, editor::fourCC('R', 'A', 'W', ' '));
  EXPECT_EQ(d.hasVideo, 1);
  EXPECT_EQ(d.hasAudio, 0);
  EXPECT_EQ(d.fieldType, 0);
  EXPECT_EQ(d.alphaType, 4);
  for (size_t at : editor::fileInfo::kZeroBytes) EXPECT_EQ(c.info.byte(at), 0) << at;
  // Bytes the plug-in has no business with keep the host's fill.
  EXPECT_EQ(c.info.byte(10), 0xA5);
  EXPECT_EQ(c.info.byte(100), 0xA5);
  EXPECT_NE(c.privateData, nullptr);
  EXPECT_TRUE(editor::isHostBlock(c.privateData));
}

TEST_F(ClipDescriptionTest, FractionalRateCountsInHundredthsAndPositionsFollow) {
  ClipDescription d;
  HostClip& c = describedClip(movie("ntsc.swf", squareMovieRaw(10, 0x1DF8, 120, 40)), &d);
  EXPECT_EQ(d.vidScale, 2996);
  EXPECT_EQ(d.vidSampleSize, 100);
  EXPECT_EQ(d.vidDuration, 1000);
  editor::ImageRequest request;
  request.width = 120;
  request.height = 40;
  // Position 250 in a time base of 100 samples a frame is frame 2.
  ASSERT_EQ(host_.importImage(c, 250, 100, request), 0);
  EXPECT_TRUE(isOpaqueRed(request.pixel(25, 5)));
  EXPECT_TRUE(isClearWhite(request.pixel(35, 5)));
}

TEST_F(ClipDescriptionTest, StageSizeIsTruncatedAndMatteIsTheBackgroundInItsOrder) {
  SwfBuilder b;
  b.stage(Rect::twips(0, 0, 11010, 8018)).background(10, 20, 30);
  for (int i = 0; i < 3; ++i) b.showFrame();
  ClipDescription d;
  describedClip(movie("odd.swf", b.finish()), &d);
  EXPECT_EQ(d.width, 550);
  EXPECT_EQ(d.height, 400);
  EXPECT_EQ(d.matteRed, 10);
  EXPECT_EQ(d.matteGreen, 20);
  EXPECT_EQ(d.matteBlue, 30);
}

TEST_F(ClipDescriptionTest, SecondDescriptionReusesTheClipsRenderer) {
  ClipDescription first, second;
  HostClip& c = describedClip(movie("again.swf", squareMovie(30, 24)), &first);
  char* block = c.privateData;
  ASSERT_EQ(host_.describe(c, true, &second), 0);
  EXPECT_EQ(c.privateData, block);
  EXPECT_EQ(second.vidDuration, first.vidDuration);
  EXPECT_EQ(second.width, first.width);
  EXPECT_EQ(cachedCopies(), 1);
}

TEST_F(ClipDescriptionTest, SettingsLengthStaysWhenSet) {
  HostClip& c = clip(movie("set.swf", squareMovie(30, 24)));
  ASSERT_EQ(host_.createSettings(c), 0);
  settingsOf(c)[0] = 500;
  ClipDescription d;
  ASSERT_EQ(host_.describe(c, true, &d), 0);
  EXPECT_EQ(d.vidDuration, 500);
  EXPECT_EQ(settingsOf(c)[0], 500);
}

TEST_F(ClipDescriptionTest, OtherFileTypeIsRefusedBeforeAnyRenderer) {
  HostClip& c = clip(movie("typed.swf", squareMovie(3, 12)));
  c.fileType = editor::fourCC('A', 'V', 'I', ' ');
  const int blocks = editor::liveHostBlocks();
  EXPECT_EQ(host_.describe(c, false, nullptr), 2);
  EXPECT_EQ(editor::liveHostBlocks(), blocks);
  EXPECT_EQ(cachedCopies(), 0);
  EXPECT_EQ(c.info.byte(editor::fileInfo::kVidScale), 0xA5);
}

TEST_F(ClipDescriptionTest, UnusableMoviesAreBadFilesAndLeaveNothingBehind) {
  Bytes cut = squareMovie(5, 12);
  cut.resize(20);
  const std::string paths[] = {movie("text.swf", Bytes(300, 'x')), movie("cut.swf", cut), movie("empty.swf", Bytes()),
                               movies_->file("missing.swf")};
  const int blocks = editor::liveHostBlocks();
  for (const std::string& path : paths) {
    HostClip& c = clip(path);
    EXPECT_EQ(host_.describe(c, false, nullptr), 2) << path;
    EXPECT_EQ(c.privateData, nullptr);
  }
  EXPECT_EQ(editor::liveHostBlocks(), blocks);
  // The host goes on working with good movies.
  describedClip(movie("good.swf", squareMovie(3, 12)));
}

TEST_F(ClipDescriptionTest, ClosingClearsTheFileRefAndFreesTheBlock) {
  HostClip& c = describedClip(movie("close.swf", squareMovie(3, 12)));
  const int blocks = editor::liveHostBlocks();
  ASSERT_EQ(host_.close(c), 0);
  EXPECT_EQ(c.access.int32At(editor::fileAccess::kFileRef), 0);
  EXPECT_EQ(editor::liveHostBlocks(), blocks - 1);
  EXPECT_EQ(editor::foreignDisposals(), 0);
  // A close without a block only clears the field.
  EXPECT_EQ(host_.close(c), 0);
  EXPECT_EQ(editor::liveHostBlocks(), blocks - 1);
}

// The control's registration changed for one test, put back afterwards.
class ControlRegistrationTest : public PluginTest {
 protected:
  const std::string key_ = "CLSID\\{D27CDB6E-AE6D-11cf-96B8-444553540000}\\InprocServer32";
  void SetUp() override {
    PluginTest::SetUp();
    if (registryText(HKEY_CLASSES_ROOT, key_, nullptr) == "<missing>")
      GTEST_SKIP() << "the Flash control is not registered";
    snapshot_.reset(new RegistrySnapshot(HKEY_CLASSES_ROOT, key_));
  }
  void TearDown() override {
    snapshot_.reset();
    PluginTest::TearDown();
  }
  void expectNoRenderer() {
    HostClip& c = clip(movie("refused.swf", squareMovie(3, 12)));
    const int blocks = editor::liveHostBlocks();
    EXPECT_EQ(host_.describe(c, false, nullptr), 13);
    EXPECT_EQ(editor::liveHostBlocks(), blocks);
    EXPECT_EQ(c.privateData, nullptr);
  }
  std::unique_ptr<RegistrySnapshot> snapshot_;
};

TEST_F(ControlRegistrationTest, MissingControlGives13) {
  snapshot_->erase();
  expectNoRenderer();
}

TEST_F(ControlRegistrationTest, Version6_0_22_0Gives13) {
  ASSERT_TRUE(setRegistryText(HKEY_CLASSES_ROOT, key_, nullptr,
                              editor::programDirectory() + "control-test-dlls\\ver_6_0_22_0.dll"));
  expectNoRenderer();
}

// Saved clip lengths, read from the project the editor opened.
class ProjectLengthTest : public PluginTest {
 protected:
  std::string project(const std::string& text) {
    return movies_->write("Project.PPJ", Bytes(text.begin(), text.end()));
  }
  static std::string entry(const std::string& settings, const std::string& path) {
    return "[FILE]\nkind=swf\nparam=" + settings + "\n[FNAM]\nfname=" + path + "\n";
  }
  static std::string doubled(const std::string& path) {
    std::string out;
    for (char c : path) out += c == '\\' ? std::string("\\\\") : std::string(1, c);
    return out;
  }
  int32_t lengthOf(const std::string& path) {
    HostClip& c = clip(path);
    ClipDescription d;
    EXPECT_EQ(host_.describe(c, false, &d), 0) << path;
    return d.vidDuration;
  }
};

TEST_F(ProjectLengthTest, ClipsWithoutSettingsTakeTheSavedLengths) {
  const std::string a = movie("intro.swf", squareMovie(10, 12));
  const std::string b = movie("outro.swf", squareMovie(10, 12));
  std::string contents;
  ASSERT_TRUE(editor::openProject(
      project(entry("44,1,0,0,1,0,0,0,0,0,0,0,", doubled(a)) + entry("112,17,1,0,2,0,0,0,0,0,0,0,", b)), &contents));
  EXPECT_EQ(lengthOf(a), 300);
  // Each saved length is handed out once: while other records are left, the
  // movie's own count; once the list is empty the project is read again.
  EXPECT_EQ(lengthOf(a), 10);
  EXPECT_EQ(lengthOf(b), 70000);
  EXPECT_EQ(lengthOf(a), 300);
}

TEST_F(ProjectLengthTest, CapitalExtensionCountsAndOtherExtensionsDoNot) {
  const std::string upper = movie("LOUD.SWF", squareMovie(10, 12));
  const std::string swf2 = movie("two.swf2", squareMovie(10, 12));
  const std::string swt = movie("template.swt", squareMovie(10, 12));
  std::string contents;
  ASSERT_TRUE(editor::openProject(project(entry("5,0,0,0,", upper) + entry("6,0,0,0,", swf2) + entry("7,0,0,0,", swt)),
                                  &contents));
  EXPECT_EQ(lengthOf(swf2), 10);
  EXPECT_EQ(lengthOf(swt), 10);
  // Another letter case of the path finds the saved length too.
  std::string lower = upper;
  for (char& ch : lower) ch = char(tolower(static_cast<unsigned char>(ch)));
  EXPECT_EQ(lengthOf(lower), 5);
}

TEST_F(ProjectLengthTest, OverLongLinesAndPathsDoNoHarm) {
  const std::string a = movie("after.swf", squareMovie(10, 12));
  std::string text =
      std::string(40000, 'L') + "\n" + entry("9,0,0,0,", std::string(2000, 'p') + ".swf") + entry("4,1,0,0,", a);
  std::string contents;
  ASSERT_TRUE(editor::openProject(project(text), &contents));
  EXPECT_EQ(lengthOf(a), 260);
}

TEST_F(ProjectLengthTest, ProjectOpenedForWritingIsNotNoted) {
  const std::string a = movie("write.swf", squareMovie(10, 12));
  const std::string path = project(entry("44,1,0,0,", a));
  HANDLE file = editor::openThroughEditor(path, GENERIC_READ | GENERIC_WRITE, 0, OPEN_EXISTING);
  ASSERT_NE(file, INVALID_HANDLE_VALUE);
  CloseHandle(file);
  EXPECT_EQ(lengthOf(a), 10);
}

TEST_F(ProjectLengthTest, InterceptionIsInTheEditorsImportsUntilShutdown) {
  HMODULE module = editor::editorModule();
  ASSERT_NE(module, nullptr);
  void* real = reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("kernel32.dll"), "CreateFileA"));
  void* realW = reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("kernel32.dll"), "CreateFileW"));
  auto inPlugin = [&](void* p) {
    HMODULE owner = nullptr;
    GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                       static_cast<LPCSTR>(p), &owner);
    return owner == host_.module();
  };
  EXPECT_TRUE(inPlugin(editor::importSlot(module, "KERNEL32.dll", "CreateFileA")));
  EXPECT_TRUE(inPlugin(editor::importSlot(module, "KERNEL32.dll", "CreateFileW")));
  ASSERT_EQ(host_.shutdown(), 0);
  EXPECT_EQ(editor::importSlot(module, "KERNEL32.dll", "CreateFileA"), real);
  EXPECT_EQ(editor::importSlot(module, "KERNEL32.dll", "CreateFileW"), realW);
  // Files open as before.
  std::string contents;
  EXPECT_TRUE(editor::openProject(project("x"), &contents));
  EXPECT_EQ(contents, "x");
}

}  // namespace
