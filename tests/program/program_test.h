// The fixture of the program's end-to-end tests: an empty settings key (the
// previous one comes back afterwards), a working folder and a temporary folder
// of the test's own, and the program started in them.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "program_session.h"
#include "registry_snapshot.h"
#include "settings_store.h"
#include "test_files.h"
#include "ui_controls.h"
#include "ui_file_dialog.h"
#include "ui_windows.h"

namespace e2e {

class ProgramTest : public ::testing::Test {
 protected:
  ProgramTest() : settings_(HKEY_LOCAL_MACHINE, kSettingsKey) {}
  void SetUp() override { settings_.erase(); }

  std::string writeMovie(const std::string& name, const mvqtest::Bytes& bytes) { return work_.write(name, bytes); }
  // Starts the program; null (with a test failure) when no main window shows.
  std::unique_ptr<ProgramSession> launch(ProgramSession::Environment environment = {}) {
    auto session = std::make_unique<ProgramSession>(work_.path(), temp_.path(), environment);
    EXPECT_TRUE(session->start());
    if (!session->mainWindow()) {
      ADD_FAILURE() << "no main window";
      return nullptr;
    }
    return session;
  }
  // Names the output in Create AVI's save dialog, then cancels the export settings
  // that follow, so that the command ends without an export.
  void chooseOutputAndCancel(ProgramSession& program, HWND save, const std::string& name) {
    ASSERT_TRUE(ui::chooseFile(save, name));
    ASSERT_TRUE(ui::waitUntil([&] { return !IsWindow(save); }, kWaitMs));
    HWND settings = program.waitForDialog("AVI Export Setting");
    ASSERT_TRUE(settings);
    ui::pressButton(settings, IDCANCEL);
    ASSERT_TRUE(ui::waitUntil([&] { return !IsWindow(settings); }, kWaitMs));
  }
  std::string setting(const char* name) { return registryText(HKEY_LOCAL_MACHINE, kSettingsKey, name); }
  void store(const char* name, const std::string& text) {
    ASSERT_TRUE(setRegistryText(HKEY_LOCAL_MACHINE, kSettingsKey, name, text));
  }

  mvqtest::TempDir work_;
  mvqtest::TempDir temp_;
  RegistrySnapshot settings_;
};

// The program started with one movie open, and left through File > Exit.
class OpenMovieTest : public ProgramTest {
 protected:
  void startWith(const std::string& name, const mvqtest::Bytes& movie) {
    const std::string path = writeMovie(name, movie);
    program_ = launch();
    ASSERT_TRUE(program_);
    ASSERT_TRUE(program_->openMovie(path, path));
  }
  void TearDown() override {
    if (program_) {
      EXPECT_EQ(0, program_->exitThroughMenu());
    }
  }

  std::unique_ptr<ProgramSession> program_;
};

}  // namespace e2e
