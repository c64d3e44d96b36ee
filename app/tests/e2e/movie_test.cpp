// Opening movies: plain and compressed, a file that is no movie, and the
// temporary copies the program keeps for them.
#include <algorithm>

#include "program_test.h"
#include "resource_ids.h"
#include "test_files.h"
#include "test_movies.h"
#include "ui_controls.h"
#include "ui_file_dialog.h"
#include "ui_message_box.h"
#include "ui_probe.h"
#include "ui_windows.h"

namespace e2e {
namespace {

using mvqtest::Compression;

// The temporary files by kind: empty ones, and plain movies (by length).
struct TempFiles {
  int empty = 0;
  std::vector<size_t> plainMovies;
};

TempFiles classify(const std::string& folder) {
  TempFiles files;
  for (const std::string& path : mvqFiles(folder)) {
    const mvqtest::Bytes bytes = mvqtest::readFile(path);
    if (bytes.empty())
      ++files.empty;
    else if (bytes.size() > 3 && bytes[0] == 'F' && bytes[1] == 'W' && bytes[2] == 'S')
      files.plainMovies.push_back(bytes.size());
  }
  std::sort(files.plainMovies.begin(), files.plainMovies.end());
  return files;
}

TEST_F(ProgramTest, OpeningAPlainMovie) {
  const mvqtest::Bytes bytes = countingMovie(200, 150, 12);
  const std::string movie = writeMovie("plain.swf", bytes);
  auto program = launch();
  ASSERT_TRUE(program);
  // Only the reserved name for recorded sound exists before a movie.
  EXPECT_EQ(1u, mvqFiles(temp_.path()).size());

  ASSERT_TRUE(program->openMovie(movie, movie));
  EXPECT_EQ(200, program->clientSize().cx);
  EXPECT_EQ(150, program->clientSize().cy);
  EXPECT_FALSE(program->menuItem(ID_FILE_CREATE_AVI).grayed);
  EXPECT_FALSE(program->menuBarItem(1).grayed);
  EXPECT_FALSE(program->menuBarItem(2).grayed);
  EXPECT_TRUE(program->menuItem(ID_CONTROL_STOP).checked);
  EXPECT_TRUE(ui::waitUntil([&] { return program->shownFrame() == 0; }, kWaitMs)) << program->shownFrame();
  // The movie stands at its first frame: the marker is where the stage begins.
  EXPECT_TRUE(isMarker(program->pixel(10, 10)));

  // No expanded copy: the sound file's reserved name and the working copy.
  const TempFiles files = classify(temp_.path());
  EXPECT_EQ(1, files.empty);
  EXPECT_EQ((std::vector<size_t>{bytes.size()}), files.plainMovies);

  EXPECT_EQ(0, program->exitThroughMenu());
  EXPECT_TRUE(mvqFiles(temp_.path()).empty());
}

TEST_F(ProgramTest, OpeningACompressedMovieUsesAnExpandedCopy) {
  const mvqtest::Bytes plain = countingMovie(240, 180, 12);
  const std::string compressed = writeMovie("packed.swf", countingMovie(240, 180, 12, Compression::Zlib));
  const std::string other = writeMovie("other.swf", countingMovie(160, 120, 12));
  auto program = launch();
  ASSERT_TRUE(program);
  ASSERT_TRUE(program->openMovie(compressed, compressed));
  EXPECT_EQ(240, program->clientSize().cx);
  EXPECT_EQ(180, program->clientSize().cy);
  EXPECT_TRUE(ui::waitUntil([&] { return program->shownFrame() == 0; }, kWaitMs)) << program->shownFrame();
  // The expanded copy and the working copy are both plain movies of the full length.
  TempFiles files = classify(temp_.path());
  EXPECT_EQ(1, files.empty);
  EXPECT_EQ((std::vector<size_t>{plain.size(), plain.size()}), files.plainMovies);

  // Another movie: the expanded copy goes.
  ASSERT_TRUE(program->openMovie(other, other));
  files = classify(temp_.path());
  EXPECT_EQ(1u, files.plainMovies.size());
  EXPECT_EQ(2u, mvqFiles(temp_.path()).size());

  ASSERT_TRUE(program->openMovie(compressed, compressed));
  EXPECT_EQ(3u, mvqFiles(temp_.path()).size());
  EXPECT_EQ(0, program->exitThroughMenu());
  EXPECT_TRUE(mvqFiles(temp_.path()).empty());
}

TEST_F(ProgramTest, AFileThatIsNoMovieGivesFileOpenErrorAndKeepsThePreviousMovie) {
  const std::string movie = writeMovie("good.swf", countingMovie(200, 150, 12));
  const std::string garbage = writeMovie("garbage.swf", mvqtest::Bytes(300, 0x5A));
  auto program = launch();
  ASSERT_TRUE(program);
  ASSERT_TRUE(program->openMovie(movie, movie));
  const std::string title = program->title();

  program->command(ID_FILE_OPEN);
  HWND dialog = program->waitForDialog("Select a Flash File");
  ASSERT_TRUE(dialog);
  ASSERT_TRUE(ui::chooseFile(dialog, garbage));
  HWND box = ui::waitForMessageBox(program->processId(), kWaitMs);
  ASSERT_TRUE(box);
  const ui::MessageBoxView view = ui::readMessageBox(box);
  EXPECT_EQ("Moviquill", view.caption);
  EXPECT_EQ("File Open Error", view.text);
  EXPECT_EQ("error", view.icon);
  EXPECT_EQ(program->mainWindow(), GetWindow(box, GW_OWNER));
  ui::pressMessageBoxButton(box, "ok");
  ASSERT_TRUE(ui::waitUntil([&] { return !IsWindow(box); }, kWaitMs));

  EXPECT_EQ(title, program->title());
  EXPECT_EQ(200, program->clientSize().cx);
  EXPECT_TRUE(ui::waitUntil([&] { return program->shownFrame() == 0; }, kWaitMs)) << program->shownFrame();
  EXPECT_FALSE(program->menuItem(ID_FILE_CREATE_AVI).grayed);
  // The previous movie still plays.
  program->command(ID_CONTROL_PLAY);
  EXPECT_NE(-1, program->waitForFrameOtherThan(0));
  // No expanded copy of the garbage was left behind; the previous working copy stays.
  EXPECT_EQ(2u, mvqFiles(temp_.path()).size());
  EXPECT_EQ(0, program->exitThroughMenu());
  EXPECT_TRUE(mvqFiles(temp_.path()).empty());
}

TEST_F(ProgramTest, CancellingTheOpenDialogChangesNothing) {
  auto program = launch();
  ASSERT_TRUE(program);
  program->command(ID_FILE_OPEN);
  HWND dialog = program->waitForDialog("Select a Flash File");
  ASSERT_TRUE(dialog);
  ui::pressButton(dialog, IDCANCEL);
  ASSERT_TRUE(ui::waitUntil([&] { return !IsWindow(dialog); }, kWaitMs));
  ASSERT_TRUE(ui::waitForIdle(program->mainWindow()));
  EXPECT_FALSE(ui::waitForMessageBox(program->processId(), 300));
  EXPECT_EQ("Tessaline Moviquill", program->title());
  EXPECT_TRUE(program->menuItem(ID_FILE_CREATE_AVI).grayed);
  EXPECT_EQ(0, program->exitThroughMenu());
}

TEST_F(ProgramTest, ADroppedFileDoesNothing) {
  const std::string movie = writeMovie("drop.swf", countingMovie(200, 150, 12));
  auto program = launch();
  ASSERT_TRUE(program);
  EXPECT_NE(0, GetWindowLongA(program->mainWindow(), GWL_EXSTYLE) & WS_EX_ACCEPTFILES);
  ASSERT_TRUE(ui::dropFile(program->mainWindow(), movie));
  // The drop is posted: once the window takes posted messages again it has been handled.
  ASSERT_TRUE(ui::waitForIdle(program->mainWindow()));
  EXPECT_TRUE(program->running());
  EXPECT_EQ("Tessaline Moviquill", program->title());
  EXPECT_FALSE(ui::findTopLevel(program->processId(), "#32770"));
  EXPECT_EQ(0, program->exitThroughMenu());
}

}  // namespace
}  // namespace e2e
