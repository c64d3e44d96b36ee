// The real plug-in in the editor host, for each test: its own temporary
// folder (the movie cache's home) and movie folder, the plug-in loaded and
// initialised, and afterwards shut down and unloaded with nothing left in the
// temporary folder and no host memory left allocated.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "importer_host.h"
#include "swf_builder.h"
#include "test_files.h"

class PluginTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  std::string movie(const std::string& name, const mvqtest::Bytes& bytes) const { return movies_->write(name, bytes); }
  // A clip of the movie at path, kept until the test ends.
  editor::HostClip& clip(const std::string& path);
  // A clip with new settings, described with them.
  editor::HostClip& describedClip(const std::string& path, editor::ClipDescription* d = nullptr);
  // An image of width x height of frame (in frames, converted to the clip's
  // time base by its sample size).
  int32_t image(editor::HostClip& clip, int frame, int width, int height, editor::ImageRequest* request,
                int sampleSize = 1);
  // ~SR copies in the temporary folder.
  int cachedCopies() const { return copiesIn(temp_->path()); }
  static int copiesIn(const std::string& folder);
  // Points the temporary folder (and so the movie cache) somewhere else.
  void useTemporaryFolder(const std::string& folder);

  void closeAll();
  void unloadPlugin();

  static std::string pluginPath() { return editor::programDirectory() + "im-tq-swf.prm"; }
  static int32_t* settingsOf(editor::HostClip& clip) { return reinterpret_cast<int32_t*>(clip.settings); }

  editor::ImporterHost host_;
  std::unique_ptr<mvqtest::TempDir> temp_;
  std::unique_ptr<mvqtest::TempDir> movies_;
  std::vector<std::unique_ptr<editor::HostClip>> clips_;
  std::string savedTemp_;
  int blocksBefore_ = 0;
};

// Frame i shows a 10 x 10 red square at x = 10 i, y = 0 on a white stage.
mvqtest::Bytes squareMovie(int frames, double fps, int width = 120, int height = 40,
                           mvqtest::Compression compression = mvqtest::Compression::None, uint8_t version = 6);
// The same with the raw 8.8 frame rate.
mvqtest::Bytes squareMovieRaw(int frames, uint16_t fps88, int width, int height);

// The B, G, R, A pixel is the opaque red square / the clear white stage.
bool isOpaqueRed(const uint8_t* p);
bool isClearWhite(const uint8_t* p);
