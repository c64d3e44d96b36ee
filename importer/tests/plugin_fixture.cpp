#include "plugin_fixture.h"

#include "square_movies.h"

using mvqtest::Bytes;
using mvqtest::Rect;
using mvqtest::SwfBuilder;

namespace {

std::string environmentText(const char* name) {
  char value[MAX_PATH] = "";
  const DWORD n = GetEnvironmentVariableA(name, value, MAX_PATH);
  return n > 0 && n < MAX_PATH ? value : "";
}

}  // namespace

void PluginTest::SetUp() {
  temp_.reset(new mvqtest::TempDir);
  movies_.reset(new mvqtest::TempDir);
  savedTemp_ = environmentText("TMP");
  useTemporaryFolder(temp_->path());
  blocksBefore_ = editor::liveHostBlocks();
  std::string error;
  ASSERT_TRUE(host_.load(pluginPath(), &error)) << error;
  editor::Record info(editor::importInfo::kSize);
  ASSERT_EQ(host_.init(&info), 0);
}

void PluginTest::TearDown() {
  unloadPlugin();
  editor::setInterfaceVersion(5);
  EXPECT_EQ(cachedCopies(), 0) << "copies left in the temporary folder after unloading";
  EXPECT_EQ(editor::liveHostBlocks(), blocksBefore_) << "host memory left allocated";
  SetEnvironmentVariableA("TMP", savedTemp_.empty() ? nullptr : savedTemp_.c_str());
  SetEnvironmentVariableA("TEMP", savedTemp_.empty() ? nullptr : savedTemp_.c_str());
  movies_.reset();
  temp_.reset();
}

void PluginTest::closeAll() {
  for (auto& c : clips_) {
    if (host_.loaded() && c->privateData) host_.close(*c);
    host_.freeSettings(*c);
  }
  clips_.clear();
}

void PluginTest::unloadPlugin() {
  if (!host_.loaded()) return;
  closeAll();
  host_.shutdown();
  host_.unload();
}

void PluginTest::useTemporaryFolder(const std::string& folder) {
  SetEnvironmentVariableA("TMP", folder.c_str());
  SetEnvironmentVariableA("TEMP", folder.c_str());
}

editor::HostClip& PluginTest::clip(const std::string& path) {
  clips_.emplace_back(new editor::HostClip(path));
  return *clips_.back();
}

editor::HostClip& PluginTest::describedClip(const std::string& path, editor::ClipDescription* d) {
  editor::HostClip& c = clip(path);
  EXPECT_EQ(host_.createSettings(c), 0);
  EXPECT_EQ(host_.describe(c, true, d), 0) << path;
  return c;
}

int32_t PluginTest::image(editor::HostClip& c, int frame, int width, int height, editor::ImageRequest* request,
                          int sampleSize) {
  request->width = width;
  request->height = height;
  return host_.importImage(c, frame * sampleSize, sampleSize, *request);
}

int PluginTest::copiesIn(const std::string& folder) {
  WIN32_FIND_DATAA found;
  HANDLE search = FindFirstFileA((folder + "\\~SR*.tmp").c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return 0;
  int count = 0;
  do ++count;
  while (FindNextFileA(search, &found));
  FindClose(search);
  return count;
}

Bytes squareMovie(int frames, double fps, int width, int height, mvqtest::Compression compression, uint8_t version) {
  SwfBuilder b;
  b.version(version).stage(Rect::pixels(width, height)).frameRate(fps).background(255, 255, 255);
  return mvqtest::addSteppingSquare(b, frames).finish(compression);
}

Bytes squareMovieRaw(int frames, uint16_t fps88, int width, int height) {
  SwfBuilder b;
  b.stage(Rect::pixels(width, height)).frameRateRaw(fps88).background(255, 255, 255);
  return mvqtest::addSteppingSquare(b, frames).finish();
}

bool isOpaqueRed(const uint8_t* p) { return p[3] == 255 && p[2] == 255 && p[1] == 0 && p[0] == 0; }
bool isClearWhite(const uint8_t* p) { return p[3] == 0 && p[2] == 255 && p[1] == 255 && p[0] == 255; }
