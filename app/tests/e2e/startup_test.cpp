// Start-up and shut-down of the program: the first start, the settings kept
// between runs, the display-depth warning and the control check.
#include <algorithm>
#include <memory>
#include <vector>

#include "program_test.h"
#include "resource_ids.h"
#include "scoped_display.h"
#include "test_movies.h"
#include "ui_controls.h"
#include "ui_file_dialog.h"
#include "ui_message_box.h"
#include "ui_windows.h"

namespace e2e {
namespace {

using mvqtest::Compression;

std::vector<std::string> childTexts(HWND window) {
  std::vector<std::string> texts;
  for (HWND child : ui::childWindows(window)) texts.push_back(ui::windowText(child));
  return texts;
}

std::string folderName(const std::string& path) {
  std::string folder = path;
  while (!folder.empty() && folder.back() == '\\') folder.pop_back();
  return folder;
}

TEST_F(ProgramTest, FirstStartWithAnEmptyRegistry) {
  writeMovie("first.swf", countingMovie(200, 150, 12));
  auto program = launch();
  ASSERT_TRUE(program);
  EXPECT_EQ("Tessaline Moviquill", program->title());
  // The system chose a place and a size.
  const RECT rect = program->windowRect();
  EXPECT_GT(rect.right - rect.left, 100);
  EXPECT_GT(rect.bottom - rect.top, 100);
  EXPECT_TRUE(program->menuItem(ID_OPTIONS_KEEP_ASPECT).checked);
  EXPECT_TRUE(program->menuItem(ID_CONTROL_STOP).checked);
  EXPECT_FALSE(program->menuItem(ID_CONTROL_PLAY).checked);
  EXPECT_TRUE(program->menuItem(ID_FILE_CREATE_AVI).grayed);
  EXPECT_TRUE(program->menuBarItem(1).grayed);
  EXPECT_TRUE(program->menuBarItem(2).grayed);
  EXPECT_FALSE(program->menuBarItem(0).grayed);
  EXPECT_FALSE(program->menuBarItem(3).grayed);

  // The open and save dialogs start in the working directory: a bare name is found there.
  ASSERT_TRUE(program->openMovie("first.swf", work_.file("first.swf")));
  program->command(ID_FILE_CREATE_AVI);
  HWND save = program->waitForDialog("Create AVI File");
  ASSERT_TRUE(save);
  EXPECT_EQ("first", ui::fileDialogName(save));
  chooseOutputAndCancel(*program, save, "saved-here");
  EXPECT_EQ(0, program->exitThroughMenu());
  EXPECT_EQ(folderName(work_.path()), setting("OpenDir"));
  EXPECT_EQ(folderName(work_.path()), setting("SaveDir"));
}

TEST_F(ProgramTest, FoldersAreStoredEvenWhenNothingWasOpened) {
  auto program = launch();
  ASSERT_TRUE(program);
  EXPECT_EQ(0, program->exitThroughMenu());
  EXPECT_EQ(folderName(work_.path()), setting("OpenDir"));
  EXPECT_EQ(folderName(work_.path()), setting("SaveDir"));
  EXPECT_EQ("<missing>", setting("DontShowDispWarn"));
  EXPECT_EQ("0", setting("ProgressWin.left"));
  EXPECT_EQ("0", setting("ProgressWin.top"));
}

TEST_F(ProgramTest, SettingsWrittenAtExitAreUsedAtTheNextStart) {
  mvqtest::TempDir movies, output;
  const std::string movie = movies.write("m.swf", countingMovie(320, 240, 12));
  RECT closedAt;
  {
    auto program = launch();
    ASSERT_TRUE(program);
    ASSERT_TRUE(program->openMovie(movie, movie));
    program->command(ID_FILE_CREATE_AVI);
    HWND save = program->waitForDialog("Create AVI File");
    ASSERT_TRUE(save);
    chooseOutputAndCancel(*program, save, output.file("clip.avi"));
    closedAt = program->windowRect();
    EXPECT_EQ(0, program->exitThroughMenu());
  }
  EXPECT_EQ(std::to_string(closedAt.left), setting("MainWin.left"));
  EXPECT_EQ(std::to_string(closedAt.top), setting("MainWin.top"));
  EXPECT_EQ(std::to_string(closedAt.right), setting("MainWin.right"));
  EXPECT_EQ(std::to_string(closedAt.bottom), setting("MainWin.bottom"));
  EXPECT_EQ(folderName(movies.path()), setting("OpenDir"));
  EXPECT_EQ(folderName(output.path()), setting("SaveDir"));

  auto program = launch();
  ASSERT_TRUE(program);
  const RECT reopened = program->windowRect();
  EXPECT_EQ(closedAt.left, reopened.left);
  EXPECT_EQ(closedAt.top, reopened.top);
  EXPECT_EQ(closedAt.right, reopened.right);
  EXPECT_EQ(closedAt.bottom, reopened.bottom);
  // Bare names are looked for in the stored folders.
  ASSERT_TRUE(program->openMovie("m.swf", movie));
  program->command(ID_FILE_CREATE_AVI);
  HWND save = program->waitForDialog("Create AVI File");
  ASSERT_TRUE(save);
  chooseOutputAndCancel(*program, save, "again");
  EXPECT_EQ(0, program->exitThroughMenu());
  EXPECT_EQ(folderName(output.path()), setting("SaveDir"));
}

TEST_F(ProgramTest, StoredNumbersAreReadByTheDecimalConversion) {
  store("MainWin.left", "-4");
  store("MainWin.top", "12abc");
  store("MainWin.right", "500");
  store("MainWin.bottom", "400");
  {
    auto program = launch();
    ASSERT_TRUE(program);
    const RECT rect = program->windowRect();
    EXPECT_EQ(-4, rect.left);
    EXPECT_EQ(12, rect.top);
    EXPECT_EQ(500, rect.right);
    EXPECT_EQ(400, rect.bottom);
    EXPECT_EQ(0, program->exitThroughMenu());
  }
  EXPECT_EQ("-4", setting("MainWin.left"));
  EXPECT_EQ("12", setting("MainWin.top"));

  store("MainWin.left", "abc");
  store("MainWin.top", "30");
  auto program = launch();
  ASSERT_TRUE(program);
  EXPECT_EQ(0, program->windowRect().left);
  EXPECT_EQ(30, program->windowRect().top);
  EXPECT_EQ(0, program->exitThroughMenu());
}

TEST_F(ProgramTest, CommandLineArgumentsAreIgnored) {
  const std::string movie = writeMovie("arg.swf", countingMovie(200, 150, 12));
  ui::Program raw;
  ASSERT_TRUE(raw.start("\"" + programPath() + "\" \"" + movie + "\"", work_.path()));
  HWND window = ui::waitForWindow([&] { return ui::findTopLevel(raw.id(), "TessalineMoviquill"); }, kWaitMs);
  ASSERT_TRUE(window);
  EXPECT_EQ("Tessaline Moviquill", ui::windowText(window));
  ui::postCommand(window, ID_FILE_EXIT);
  EXPECT_EQ(0, raw.waitForExit(kWaitMs));
}

// The warning comes on a display of fewer than 24 bits per pixel.
class DisplayWarningTest : public ProgramTest {
 protected:
  void SetUp() override {
    ProgramTest::SetUp();
    if (!display_.ready()) GTEST_SKIP() << "no second X display could be started";
  }
  std::unique_ptr<ProgramSession> startOnShallowDisplay() {
    auto session = std::make_unique<ProgramSession>(work_.path(), temp_.path());
    EXPECT_TRUE(session->startOnDisplay(display_.name()));
    return session;
  }
  // The warning dialog, answered with the box checked or not and the button.
  void answerWarning(ProgramSession& program, bool check, int button) {
    HWND warning = program.waitForDialog("Tessaline Moviquill");
    ASSERT_TRUE(warning);
    const std::vector<std::string> texts = childTexts(warning);
    EXPECT_NE(texts.end(), std::find(texts.begin(), texts.end(), "Display Setting Warning!"));
    EXPECT_NE(texts.end(), std::find(texts.begin(), texts.end(),
                                     "To get better quality, please change your display color to 24 bits(or "
                                     "above) first, then restart this program."));
    EXPECT_EQ("Do not show this message again.", ui::controlText(warning, IDC_DONT_SHOW_AGAIN));
    EXPECT_EQ("Continue", ui::controlText(warning, IDC_WARNING_CONTINUE));
    EXPECT_EQ("Quit", ui::controlText(warning, IDC_WARNING_QUIT));
    EXPECT_EQ(BST_UNCHECKED, ui::checkState(warning, IDC_DONT_SHOW_AGAIN));
    if (check) {
      ASSERT_TRUE(ui::setChecked(warning, IDC_DONT_SHOW_AGAIN, true));
    }
    ASSERT_TRUE(ui::pressButton(warning, button));
  }

  ScopedDisplay display_{16};
};

TEST_F(DisplayWarningTest, ShownOnEveryStartUntilItsBoxIsChecked) {
  {
    auto program = startOnShallowDisplay();
    answerWarning(*program, false, IDC_WARNING_CONTINUE);
    ASSERT_TRUE(program->mainWindow());
    EXPECT_EQ("0", setting("DontShowDispWarn"));
    EXPECT_EQ(0, program->exitThroughMenu());
  }
  {
    auto program = startOnShallowDisplay();
    answerWarning(*program, true, IDC_WARNING_CONTINUE);
    ASSERT_TRUE(program->mainWindow());
    EXPECT_EQ("1", setting("DontShowDispWarn"));
    EXPECT_EQ(0, program->exitThroughMenu());
  }
  auto program = startOnShallowDisplay();
  ASSERT_TRUE(program->mainWindow());
  EXPECT_FALSE(ui::findTopLevel(program->processId(), "#32770"));
  EXPECT_EQ(0, program->exitThroughMenu());
}

TEST_F(DisplayWarningTest, QuitWithTheBoxCheckedStoresItAndEnds) {
  auto program = startOnShallowDisplay();
  answerWarning(*program, true, IDC_WARNING_QUIT);
  EXPECT_EQ(0, program->waitForExit());
  EXPECT_EQ("1", setting("DontShowDispWarn"));
  // An early end writes nothing else.
  EXPECT_EQ("<missing>", setting("OpenDir"));
  EXPECT_EQ("<missing>", setting("MainWin.left"));
}

TEST_F(DisplayWarningTest, AnyNonZeroStoredValueSkipsIt) {
  store("DontShowDispWarn", "2");
  auto program = startOnShallowDisplay();
  ASSERT_TRUE(program->mainWindow());
  EXPECT_FALSE(ui::findTopLevel(program->processId(), "#32770"));
  EXPECT_EQ(0, program->exitThroughMenu());
  EXPECT_EQ("2", setting("DontShowDispWarn"));
}

TEST_F(ProgramTest, ADeepDisplayShowsNoWarningAndStoresNothing) {
  auto program = launch();
  ASSERT_TRUE(program);
  EXPECT_FALSE(ui::findTopLevel(program->processId(), "#32770"));
  EXPECT_EQ(0, program->exitThroughMenu());
  EXPECT_EQ("<missing>", setting("DontShowDispWarn"));
}

// The control check, with the control's registration changed for the test.
class ControlCheckTest : public ProgramTest {
 protected:
  static std::string classKey(const char* server) {
    return std::string("CLSID\\{D27CDB6E-AE6D-11cf-96B8-444553540000}\\") + server;
  }
  static std::string versionDll(const char* version) {
    std::string program = programPath();
    return program.substr(0, program.find_last_of('\\') + 1) + "control-test-dlls\\ver_" + version + ".dll";
  }
  void SetUp() override {
    ProgramTest::SetUp();
    if (registryText(HKEY_CLASSES_ROOT, classKey("InprocServer32"), nullptr) == "<missing>")
      GTEST_SKIP() << "the Flash control is not registered";
  }
  // The error box the program shows before any window, and its exit code.
  void expectRefusal(const std::string& text) {
    ProgramSession program(work_.path(), temp_.path());
    ASSERT_TRUE(program.start());
    HWND box = ui::waitForMessageBox(program.processId(), kWaitMs);
    ASSERT_TRUE(box);
    const ui::MessageBoxView view = ui::readMessageBox(box);
    EXPECT_EQ("Moviquill", view.caption);
    EXPECT_EQ(0u, view.text.find(text)) << view.text;
    EXPECT_EQ("error", view.icon);
    EXPECT_FALSE(ui::findTopLevel(program.processId(), "TessalineMoviquill"));
    ui::pressMessageBoxButton(box, "ok");
    EXPECT_EQ(0, program.waitForExit());
    EXPECT_EQ("<missing>", setting("OpenDir"));
  }

  RegistrySnapshot inproc_{HKEY_CLASSES_ROOT, classKey("InprocServer32")};
  RegistrySnapshot local_{HKEY_CLASSES_ROOT, classKey("LocalServer32")};
};

TEST_F(ControlCheckTest, AMissingControlIsRefused) {
  ASSERT_TRUE(setRegistryText(HKEY_CLASSES_ROOT, classKey("InprocServer32"), nullptr, "Z:\\no\\such\\flash.ocx"));
  expectRefusal("Please get Flash ActiveX control from ");
}

TEST_F(ControlCheckTest, Version6_0_22_0IsRefused) {
  ASSERT_TRUE(setRegistryText(HKEY_CLASSES_ROOT, classKey("InprocServer32"), nullptr, versionDll("6_0_22_0")));
  expectRefusal("Please upgrade the Flash ActiveX control version to 6.0 r23 above.");
}

TEST_F(ControlCheckTest, NeighbouringVersionsStartNormally) {
  // The version is read from the local-server entry, which comes first; the
  // control itself is still created from its in-process server.
  for (const char* version : {"6_0_22_1", "6_0_21_0", "5_0_42_0"}) {
    SCOPED_TRACE(version);
    ASSERT_TRUE(
        setRegistryText(HKEY_CLASSES_ROOT, classKey("LocalServer32"), nullptr, "\"" + versionDll(version) + "\""));
    auto program = launch();
    ASSERT_TRUE(program);
    EXPECT_EQ(0, program->exitThroughMenu());
  }
}

}  // namespace
}  // namespace e2e
