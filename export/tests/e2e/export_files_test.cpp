// The files around an export: numbered files of an earlier export under the
// same name, the file "Play after creating" opens, and the movie copies an
// export reads after a failed File > Open.
#include <cstdio>

#include "export_test_support.h"
#include "file_association.h"

namespace e2e {
namespace {

std::string numbered(const std::string& stem, int n) {
  char name[64];
  std::snprintf(name, sizeof name, "%s%04d.avi", stem.c_str(), n);
  return name;
}

class ExportFilesTest : public ExportTest {
 protected:
  // The frames of the files stem0000.avi ... in turn, up to the first missing.
  std::vector<int> splitFrames(const std::string& stem) {
    std::vector<int> all;
    for (int n = 0; mvqtest::fileExists(out(numbered(stem, n))); ++n) {
      const std::vector<int> frames = shownFrames(out(numbered(stem, n)));
      all.insert(all.end(), frames.begin(), frames.end());
    }
    return all;
  }
  int numberedCount(const std::string& stem) {
    int count = 0;
    for (int n = 0; n < 10; ++n) count += mvqtest::fileExists(out(numbered(stem, n))) ? 1 : 0;
    return count;
  }
};

// Four 160 x 120 frames pass 200000 bytes.
const ProgramSession::Environment kSmallSplits = {{"MVQ_SPLIT_LIMIT_BYTES", "200000"}};

TEST_F(ExportFilesTest, AnExportLeavesOnlyItsOwnFilesWhereAnEarlierOneWasSplit) {
  environment_ = kSmallSplits;
  const std::string movie = writeMovie("numbers.swf", numberedMovie(20, 10));
  ASSERT_EQ("", exportMovie(movie, out("clip.avi"), Choice{IDC_FRAME_BY_FRAME, "", "17"}));
  ASSERT_EQ(5, numberedCount("clip"));

  // Fewer files: the new first file replaces the old clip0000.avi, the rest go.
  ASSERT_EQ("", exportMovie(movie, out("clip.avi"), Choice{IDC_FRAME_BY_FRAME, "8", "16"}));
  EXPECT_FALSE(mvqtest::fileExists(out("clip.avi")));
  EXPECT_EQ(3, numberedCount("clip"));
  EXPECT_EQ(range(8, 16), splitFrames("clip"));

  // One file: no numbered file stays beside it.
  ASSERT_EQ("", exportMovie(movie, out("clip.avi"), Choice{IDC_FRAME_BY_FRAME, "", "1"}));
  EXPECT_EQ(range(0, 1), shownFrames(out("clip.avi")));
  EXPECT_EQ(0, numberedCount("clip"));
}

TEST_F(ExportFilesTest, CancelOverAnEarlierSplitExportLeavesNoFileOfEither) {
  environment_ = kSmallSplits;
  const std::string movie = writeMovie("numbers.swf", numberedMovie(20, 10));
  ASSERT_EQ("", exportMovie(movie, out("gone.avi"), Choice{IDC_FRAME_BY_FRAME, "", "17"}));
  ASSERT_EQ(5, numberedCount("gone"));
  // Far past the movie's end, so that Cancel comes while it runs.
  ASSERT_EQ("", exportMovie(movie, out("gone.avi"), Choice{IDC_FRAME_BY_FRAME, "", "100000"}, [&](HWND progress) {
    EXPECT_TRUE(ui::waitUntil([&] { return mvqtest::fileExists(out("gone0002.avi")); }, 60000));
    ui::pressButton(progress, IDCANCEL);
    HWND box = ui::waitForMessageBox(program_->processId(), kWaitMs);
    ASSERT_TRUE(box);
    ui::pressMessageBoxButton(box, "yes");
  }));
  EXPECT_FALSE(mvqtest::fileExists(out("gone.avi")));
  EXPECT_EQ(0, numberedCount("gone"));
}

TEST_F(ExportFilesTest, PlayAfterCreatingASplitExportOpensItsFirstFile) {
  ScopedFileAssociation association(".avi");
  ASSERT_TRUE(association.useCommand("cmd.exe /c copy \"%1\" \"%1.played\""));
  environment_ = kSmallSplits;
  const std::string movie = writeMovie("numbers.swf", numberedMovie(20, 10));
  Choice shown{IDC_FRAME_BY_FRAME, "", "9"};
  shown.playAfter = true;
  ASSERT_EQ("", exportMovie(movie, out("split.avi"), shown));
  ASSERT_TRUE(ui::waitUntil([&] { return mvqtest::fileExists(out("split0000.avi.played")); }, 15000));
  EXPECT_EQ(range(0, 3), shownFrames(out("split0000.avi.played")));
}

TEST_F(ExportFilesTest, AFailedOpenKeepsTheCompressedMovieShownUsable) {
  const std::string packed =
      writeMovie("packed.swf", numberedMovie(20, 10, -1, {}, mvqtest::Compression::Zlib));
  // A plain movie's signature over a header cut short: read, then refused.
  const std::string broken = writeMovie("broken.swf", mvqtest::Bytes{'F', 'W', 'S', 6, 40, 0, 0, 0, 0x50});
  program_ = launch(environment_);
  ASSERT_TRUE(program_ && program_->openMovie(packed, packed));
  const size_t copies = mvqFiles(temp_.path()).size();

  program_->command(ID_FILE_OPEN);
  HWND dialog = program_->waitForDialog("Select a Flash File");
  ASSERT_TRUE(dialog && ui::chooseFile(dialog, broken));
  HWND box = ui::waitForMessageBox(program_->processId(), kWaitMs);
  ASSERT_TRUE(box);
  EXPECT_EQ("File Open Error", ui::readMessageBox(box).text);
  ui::pressMessageBoxButton(box, "ok");
  ASSERT_TRUE(ui::waitUntil([&] { return !IsWindow(box); }, kWaitMs));
  EXPECT_EQ(copies, mvqFiles(temp_.path()).size());

  // The export and the reload after it both read the expanded copy.
  ASSERT_EQ("", exportOpenMovie(out("after.avi"), Choice{IDC_FRAME_BY_FRAME, "", "9"}));
  EXPECT_EQ(range(0, 9), shownFrames(out("after.avi")));
  EXPECT_EQ(0, frameOf(program_->pixel(kWidth / 2, kHeight / 2)));
  EXPECT_EQ(0, program_->exitThroughMenu());
  EXPECT_TRUE(mvqFiles(temp_.path()).empty());
}

}  // namespace
}  // namespace e2e
