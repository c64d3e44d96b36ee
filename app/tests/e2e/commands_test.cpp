// Create AVI up to the export, the About box, the Help items, and closing
// the window with Alt+F4.
#include "program_test.h"
#include "registry_snapshot.h"
#include "resource_ids.h"
#include "test_movies.h"
#include "ui_controls.h"
#include "ui_file_dialog.h"
#include "ui_windows.h"
#include "web_addresses.h"

namespace e2e {
namespace {

class CreateAviTest : public ProgramTest {
 protected:
  void SetUp() override {
    ProgramTest::SetUp();
    movie_ = movies_.write("a.swf", countingMovie(200, 150, 12));
    store("SaveDir", output_.path());
    program_ = launch();
    ASSERT_TRUE(program_);
    ASSERT_TRUE(program_->openMovie(movie_, movie_));
  }
  void TearDown() override {
    if (program_) {
      EXPECT_EQ(0, program_->exitThroughMenu());
    }
  }
  HWND openSaveDialog() {
    program_->command(ID_FILE_CREATE_AVI);
    return program_->waitForDialog("Create AVI File");
  }
  void choose(HWND dialog, const std::string& name) {
    ASSERT_TRUE(ui::chooseFile(dialog, name));
    ASSERT_TRUE(ui::waitUntil([&] { return !IsWindow(dialog); }, kWaitMs));
    // The export's settings follow; cancelled, the command goes back without an export.
    HWND settings = program_->waitForDialog("AVI Export Setting");
    ASSERT_TRUE(settings);
    ui::pressButton(settings, IDCANCEL);
    ASSERT_TRUE(ui::waitUntil([&] { return !IsWindow(settings); }, kWaitMs));
  }

  mvqtest::TempDir movies_, output_;
  std::string movie_;
  std::unique_ptr<ProgramSession> program_;
};

TEST_F(CreateAviTest, ProposesTheMoviesNameInTheSaveFolder) {
  HWND dialog = openSaveDialog();
  ASSERT_TRUE(dialog);
  EXPECT_EQ("a", ui::fileDialogName(dialog));
  // A bare name lands in the stored save folder.
  choose(dialog, "first");
  EXPECT_TRUE(program_->menuItem(ID_CONTROL_STOP).checked);
}

TEST_F(CreateAviTest, WithoutAnExportItReloadsTheMovieAndStops) {
  program_->command(ID_CONTROL_PLAY);
  ASSERT_GT(program_->waitForFrameOtherThan(0), 0);
  HWND dialog = openSaveDialog();
  ASSERT_TRUE(dialog);
  choose(dialog, output_.file("clip.avi"));
  ASSERT_TRUE(ui::waitUntil([&] { return program_->shownFrame() == 0; }, kWaitMs));
  Sleep(300);
  EXPECT_EQ(0, program_->shownFrame());
  EXPECT_TRUE(program_->menuItem(ID_CONTROL_STOP).checked);
  EXPECT_FALSE(program_->menuItem(ID_CONTROL_PLAY).checked);
  // The reloaded movie plays again.
  program_->command(ID_CONTROL_PLAY);
  EXPECT_GT(program_->waitForFrameOtherThan(0), 0);
  // The next Create AVI proposes the last output's name.
  dialog = openSaveDialog();
  ASSERT_TRUE(dialog);
  EXPECT_EQ("clip", ui::fileDialogName(dialog));
  ui::cancelDialog(dialog);
  ASSERT_TRUE(ui::waitUntil([&] { return !IsWindow(dialog); }, kWaitMs));
}

TEST_F(CreateAviTest, CancellingTheSaveDialogLeavesThePlayback) {
  program_->command(ID_CONTROL_PLAY);
  ASSERT_GT(program_->waitForFrameOtherThan(0), 0);
  HWND dialog = openSaveDialog();
  ASSERT_TRUE(dialog);
  ui::cancelDialog(dialog);
  ASSERT_TRUE(ui::waitUntil([&] { return !IsWindow(dialog); }, kWaitMs));
  EXPECT_TRUE(program_->menuItem(ID_CONTROL_PLAY).checked);
  const int now = program_->shownFrame();
  EXPECT_NE(-1, program_->waitForFrameOtherThan(now));
}

TEST_F(CreateAviTest, AMissingWorkingCopyIsMadeAgain) {
  // Both temporary movie copies are removed behind the program's back.
  for (const std::string& file : mvqFiles(temp_.path())) DeleteFileA(file.c_str());
  HWND dialog = openSaveDialog();
  ASSERT_TRUE(dialog);
  choose(dialog, output_.file("again.avi"));
  ASSERT_TRUE(ui::waitUntil([&] { return mvqFiles(temp_.path()).size() == 1; }, kWaitMs));
  EXPECT_EQ(0, program_->shownFrame());
}

TEST_F(ProgramTest, AboutShowsTheProductAndItsLinkOpensTheHomePage) {
  // Web addresses go to a command that writes down what it was given.
  RegistrySnapshot https(HKEY_CLASSES_ROOT, "https\\shell\\open\\command");
  const std::string opened = work_.file("opened-link.txt");
  ASSERT_TRUE(setRegistryText(HKEY_CLASSES_ROOT, "https\\shell\\open\\command", nullptr,
                              "cmd.exe /c echo %1> \"" + opened + "\""));
  auto program = launch();
  ASSERT_TRUE(program);
  program->command(ID_HELP_ABOUT);
  HWND about = program->waitForDialog("About Tessaline Moviquill");
  ASSERT_TRUE(about);
  EXPECT_EQ(program->mainWindow(), GetWindow(about, GW_OWNER));
  EXPECT_EQ("Tessaline Moviquill 1.1", ui::controlText(about, IDC_ABOUT_PRODUCT));
  EXPECT_EQ(MVQ_HOME_PAGE, ui::controlText(about, IDC_ABOUT_HOME_LINK));
  HWND link = GetDlgItem(about, IDC_ABOUT_HOME_LINK);
  PostMessageA(link, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(2, 2));
  PostMessageA(link, WM_LBUTTONUP, 0, MAKELPARAM(2, 2));
  EXPECT_TRUE(ui::waitUntil(
      [&] {
        const mvqtest::Bytes text = mvqtest::readFile(opened);
        return std::string(text.begin(), text.end()).find(MVQ_HOME_PAGE) == 0;
      },
      kWaitMs));
  ui::pressButton(about, IDOK);
  ASSERT_TRUE(ui::waitUntil([&] { return !IsWindow(about); }, kWaitMs));
  EXPECT_EQ(0, program->exitThroughMenu());
}

TEST_F(ProgramTest, HelpOpensTheHelpPageBesideTheProgram) {
  RegistrySnapshot association(HKEY_CLASSES_ROOT, ".htm");
  RegistrySnapshot command(HKEY_CLASSES_ROOT, "MvqE2eHelpPage");
  const std::string copied = work_.file("opened-help.txt");
  ASSERT_TRUE(setRegistryText(HKEY_CLASSES_ROOT, ".htm", nullptr, "MvqE2eHelpPage"));
  ASSERT_TRUE(setRegistryText(HKEY_CLASSES_ROOT, "MvqE2eHelpPage\\shell\\open\\command", nullptr,
                              "cmd.exe /c copy \"%1\" \"" + copied + "\""));
  const std::string exe = programPath();
  const mvqtest::Bytes page = mvqtest::readFile(exe.substr(0, exe.rfind('\\') + 1) + "MVQHelp.htm");
  ASSERT_FALSE(page.empty()) << "no help page beside " << exe;
  auto program = launch();
  ASSERT_TRUE(program);
  program->command(ID_HELP_CONTENTS);
  EXPECT_TRUE(ui::waitUntil([&] { return mvqtest::readFile(copied) == page; }, kWaitMs));
  EXPECT_TRUE(program->running());
  EXPECT_EQ(0, program->exitThroughMenu());
}

TEST_F(ProgramTest, AltF4ClosesTheWindowAndSavesTheSettings) {
  auto program = launch();
  ASSERT_TRUE(program);
  const RECT rect = program->windowRect();
  ASSERT_TRUE(ui::pressAltF4(program->mainWindow()));
  EXPECT_EQ(0, program->waitForExit());
  EXPECT_EQ(std::to_string(rect.left), setting("MainWin.left"));
  EXPECT_EQ(std::to_string(rect.bottom), setting("MainWin.bottom"));
  EXPECT_TRUE(mvqFiles(temp_.path()).empty());
}

}  // namespace
}  // namespace e2e
