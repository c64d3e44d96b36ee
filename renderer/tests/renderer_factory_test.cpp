// The factory's control check, with the control's registration changed for
// each test (and put back after it).
#include <gtest/gtest.h>

#include <cstring>

#include "registry_snapshot.h"
#include "renderer_fixture.h"

namespace {

const std::string kServerKey = "CLSID\\{D27CDB6E-AE6D-11cf-96B8-444553540000}\\InprocServer32";

std::string besideTests(const std::string& name) {
  char path[MAX_PATH];
  GetModuleFileNameA(nullptr, path, MAX_PATH);
  std::string text(path);
  return text.substr(0, text.find_last_of('\\') + 1) + name;
}

class RendererFactoryTest : public RendererTest {
 protected:
  void SetUp() override {
    RendererTest::SetUp();
    if (registryText(HKEY_CLASSES_ROOT, kServerKey, nullptr) == "<missing>")
      GTEST_SKIP() << "the Flash control is not registered";
    snapshot_.reset(new RegistrySnapshot(HKEY_CLASSES_ROOT, kServerKey));
  }
  void TearDown() override {
    snapshot_.reset();
    RendererTest::TearDown();
  }
  void registerServer(const char* version) {
    ASSERT_TRUE(setRegistryText(HKEY_CLASSES_ROOT, kServerKey, nullptr,
                                besideTests(std::string("control-test-dlls\\ver_") + version + ".dll")));
  }

  std::unique_ptr<RegistrySnapshot> snapshot_;
};

TEST_F(RendererFactoryTest, MissingControlIsRefusedWithoutARenderer) {
  snapshot_->erase();
  IFrameRenderer* renderer = reinterpret_cast<IFrameRenderer*>(1);
  EXPECT_EQ(createFrameRenderer(&renderer), kRendererEControlMissing);
  EXPECT_EQ(renderer, nullptr);
}

TEST_F(RendererFactoryTest, RegisteredFileThatIsGoneCountsAsMissing) {
  ASSERT_TRUE(setRegistryText(HKEY_CLASSES_ROOT, kServerKey, nullptr, besideTests("gone.ocx")));
  RendererRef r;
  EXPECT_EQ(createFrameRenderer(r.out()), kRendererEControlMissing);
}

TEST_F(RendererFactoryTest, Version6_0_22_0IsRefused) {
  registerServer("6_0_22_0");
  IFrameRenderer* renderer = reinterpret_cast<IFrameRenderer*>(1);
  EXPECT_EQ(createFrameRenderer(&renderer), kRendererEControlVersion);
  EXPECT_EQ(renderer, nullptr);
}

TEST_F(RendererFactoryTest, NeighbouringVersionsAreAccepted) {
  for (const char* version : {"6_0_21_0", "6_0_23_0", "5_0_42_0"}) {
    registerServer(version);
    RendererRef r;
    EXPECT_EQ(createFrameRenderer(r.out()), S_OK) << version;
  }
}

TEST_F(RendererFactoryTest, NewRendererStartsWithItsDefaults) {
  RendererRef r;
  ASSERT_EQ(createFrameRenderer(r.out()), S_OK);
  EXPECT_EQ(r->GetCurrentFrame(r.get()), 0);
  EXPECT_EQ(r->GetSequenceMode(r.get()), kSequenceFrameByFrame);
  EXPECT_EQ(r->GetKeepAspect(r.get()), 0);
  MovieInfo info;
  std::memset(&info, 0xCC, sizeof info);
  ASSERT_EQ(r->GetMovieInfo(r.get(), &info), S_OK);
  EXPECT_EQ(info.cbSize, 64u);
  EXPECT_EQ(info.width, 0.0);
  EXPECT_EQ(info.backgroundColor, 0u);
  EXPECT_STREQ(info.controlVersion, "");
  r->AddRef(r.get());
  EXPECT_EQ(r->Release(r.get()), 1u);
}

}  // namespace
