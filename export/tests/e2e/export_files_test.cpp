// The files around an export: numbered files of an earlier export under the
// same name, the file "Play after creating" opens, and the movie copies an
// export reads after a failed File > Open.
#include <cstdio>

#include "export_test_support.h"
#include "file_association.h"
#include "host_command.h"

namespace e2e {
namespace {

std::string numbered(const std::string& stem, int n) {
  char name[64];
  std::snprintf(name, sizeof name, "%s%04d.avi", stem.c_str(), n);
  return name;
}

// A tmpfs of the given size mounted over a new folder, unmounted afterwards;
// mounted() is false where this machine does not allow it.
class SmallDisk {
 public:
  SmallDisk(const std::string& folder, int kilobytes) : unixFolder_(audiotest::hostPath(folder)) {
    CreateDirectoryA(folder.c_str(), nullptr);
    mounted_ = !unixFolder_.empty() && audiotest::runHostCommand("mount -t tmpfs -o size=" + std::to_string(kilobytes) +
                                                                 "k mvq-small '" + unixFolder_ + "'");
  }
  ~SmallDisk() {
    if (mounted_) audiotest::runHostCommand("umount '" + unixFolder_ + "' || umount -l '" + unixFolder_ + "'");
  }
  SmallDisk(const SmallDisk&) = delete;
  SmallDisk& operator=(const SmallDisk&) = delete;
  bool mounted() const { return mounted_; }

 private:
  std::string unixFolder_;
  bool mounted_ = false;
};

std::vector<std::string> filesIn(const std::string& folder) {
  std::vector<std::string> names;
  WIN32_FIND_DATAA found;
  HANDLE search = FindFirstFileA((folder + "\\*").c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return names;
  do {
    if (std::string(found.cFileName) != "." && std::string(found.cFileName) != "..") names.push_back(found.cFileName);
  } while (FindNextFileA(search, &found));
  FindClose(search);
  return names;
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
  // The copy's file appears before the copy is done: wait for all of it.
  const mvqtest::Bytes first = mvqtest::readFile(out("split0000.avi"));
  ASSERT_FALSE(first.empty());
  ASSERT_TRUE(ui::waitUntil([&] { return mvqtest::readFile(out("split0000.avi.played")) == first; }, 15000));
  EXPECT_EQ(range(0, 3), shownFrames(out("split0000.avi.played")));
}

TEST_F(ExportFilesTest, AFullDiskEndsTheExportWithAMessageAndAPlayablePartialFile) {
  if (!exporttest::ffprobeAvailable()) GTEST_SKIP() << "no ffprobe";
  const std::string folder = out("small");
  // Room for a few 57600-byte frames.
  SmallDisk disk(folder, 512);
  if (!disk.mounted()) GTEST_SKIP() << "no tmpfs can be mounted here";
  const std::string movie = writeMovie("numbers.swf", numberedMovie(20, 10));
  const std::string target = folder + "\\full.avi";
  std::string text = "no message";
  ASSERT_EQ("", exportMovie(movie, target, Choice{IDC_FRAME_BY_FRAME, "", "100000"}, [&](HWND) {
              HWND box = ui::waitForMessageBox(program_->processId(), 60000);
              ASSERT_TRUE(box);
              text = ui::readMessageBox(box).text;
              ui::pressMessageBoxButton(box, "ok");
            }));
  EXPECT_EQ("Failed to Write Stream", text);
  const exporttest::ProbedVideo video = exporttest::probe(target);
  ASSERT_TRUE(video.ok);
  EXPECT_GT(video.frames, 1);
  EXPECT_EQ(range(0, video.frames - 1), shownFrames(target));
  EXPECT_EQ(0, program_->exitThroughMenu());
  EXPECT_EQ(std::vector<std::string>{"full.avi"}, filesIn(folder));
  EXPECT_TRUE(mvqFiles(temp_.path()).empty());
}

TEST_F(ExportFilesTest, ADiskTooSmallForTheFileItselfRefusesTheExport) {
  const std::string folder = out("tiny");
  SmallDisk disk(folder, 16);
  if (!disk.mounted()) GTEST_SKIP() << "no tmpfs can be mounted here";
  const std::string movie = writeMovie("numbers.swf", numberedMovie(20, 10));
  std::string text = "no message";
  ASSERT_EQ("", exportMovie(movie, folder + "\\none.avi", Choice{IDC_FRAME_BY_FRAME, "", "100000"}, [&](HWND) {
              HWND box = ui::waitForMessageBox(program_->processId(), 60000);
              ASSERT_TRUE(box);
              text = ui::readMessageBox(box).text;
              ui::pressMessageBoxButton(box, "ok");
            }));
  EXPECT_EQ("Failed to Open AVI File", text);
  EXPECT_TRUE(filesIn(folder).empty());
  // The program goes on: an export elsewhere works.
  ASSERT_EQ("", exportOpenMovie(out("after.avi"), Choice{IDC_FRAME_BY_FRAME, "", "3"}));
  EXPECT_EQ(range(0, 3), shownFrames(out("after.avi")));
  EXPECT_EQ(0, program_->exitThroughMenu());
  EXPECT_TRUE(mvqFiles(temp_.path()).empty());
}

TEST_F(ExportFilesTest, AFailedOpenKeepsTheCompressedMovieShownUsable) {
  const std::string packed = writeMovie("packed.swf", numberedMovie(20, 10, -1, {}, mvqtest::Compression::Zlib));
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
