// mvq-editor.exe as a program: scripts and renders through the real plug-in,
// its output read back from files.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>

#include "importer_host.h"
#include "swf_builder.h"
#include "test_files.h"

namespace {

using mvqtest::Bytes;
using mvqtest::Matrix;
using mvqtest::Rect;
using mvqtest::Rgba;

struct ProgramRun {
  DWORD exitCode = DWORD(-1);
  std::string out, err;
};

HANDLE inheritableFile(const std::string& path) {
  SECURITY_ATTRIBUTES inherit = {sizeof inherit, nullptr, TRUE};
  return CreateFileA(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ, &inherit, CREATE_ALWAYS, 0, nullptr);
}

// Runs the host with arguments; a minute at most, then it is stopped.
ProgramRun runEditor(const mvqtest::TempDir& dir, const std::string& arguments) {
  ProgramRun run;
  const std::string outPath = dir.file("out.txt"), errPath = dir.file("err.txt");
  HANDLE out = inheritableFile(outPath), err = inheritableFile(errPath);
  STARTUPINFOA startup = {};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESTDHANDLES;
  startup.hStdOutput = out;
  startup.hStdError = err;
  startup.hStdInput = nullptr;
  std::string command = "\"" + editor::programDirectory() + "mvq-editor.exe\" " + arguments;
  PROCESS_INFORMATION process = {};
  if (CreateProcessA(nullptr, &command[0], nullptr, nullptr, TRUE, 0, nullptr, nullptr, &startup, &process)) {
    if (WaitForSingleObject(process.hProcess, 60000) != WAIT_OBJECT_0) TerminateProcess(process.hProcess, 99);
    GetExitCodeProcess(process.hProcess, &run.exitCode);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
  }
  CloseHandle(out);
  CloseHandle(err);
  const Bytes o = mvqtest::readFile(outPath), e = mvqtest::readFile(errPath);
  // Standard output is in text mode: line ends come as CR LF.
  for (uint8_t c : o)
    if (c != '\r') run.out += char(c);
  run.err.assign(e.begin(), e.end());
  return run;
}

Bytes squares(int frames) {
  mvqtest::SwfBuilder b;
  b.stage(Rect::pixels(120, 40)).frameRate(15).background(255, 255, 255);
  b.defineRectShape(1, Rect::twips(0, 0, 200, 200), Rgba{255, 0, 0});
  b.placeObject2(1, 1);
  b.showFrame();
  for (int i = 1; i < frames; ++i) {
    b.moveObject2(1, Matrix::translate(200 * i, 0));
    b.showFrame();
  }
  return b.finish();
}

class EditorProgramTest : public ::testing::Test {
 protected:
  void SetUp() override {
    char value[MAX_PATH] = "";
    GetEnvironmentVariableA("TMP", value, MAX_PATH);
    savedTemp_ = value;
    // The program inherits the folder its movie cache lives in.
    SetEnvironmentVariableA("TMP", temp_.path().c_str());
    SetEnvironmentVariableA("TEMP", temp_.path().c_str());
  }
  void TearDown() override {
    SetEnvironmentVariableA("TMP", savedTemp_.c_str());
    SetEnvironmentVariableA("TEMP", savedTemp_.c_str());
    EXPECT_EQ(temp_.entryCount(), 0u) << "the plug-in left files in the temporary folder";
  }
  mvqtest::TempDir dir_, temp_;
  std::string savedTemp_;
};

TEST_F(EditorProgramTest, ScriptDrivesThePlugInLineByLine) {
  const std::string movie = dir_.write("m.swf", squares(6));
  const std::string script = "load " + editor::programDirectory() + "im-tq-swf.prm\n" +
                             "init\n# a comment\n\nformat 0\nclip a " + movie +
                             "\nsettings a\ninfo a\nimage a 4 120 40\nanalysis a 100\nclose a\n"
                             "selector 6\nshutdown\nunload\n";
  const std::string path = dir_.write("s.txt", Bytes(script.begin(), script.end()));
  const ProgramRun run = runEditor(dir_, "script \"" + path + "\"");
  EXPECT_EQ(run.exitCode, 0u) << run.err;
  EXPECT_NE(run.out.find("load ok type=SWF_ name=Tessaline Moviquill Plug-in"), std::string::npos) << run.out;
  EXPECT_NE(run.out.find("init result=0 f0=0 f1=1"), std::string::npos);
  EXPECT_NE(run.out.find("format result=0 type=SWF_ flags=57352 ext=swf"), std::string::npos);
  EXPECT_NE(run.out.find("settings a result=0 length=12 maxLength=-1 mode=1 aspect=0"), std::string::npos);
  EXPECT_NE(run.out.find("info a result=0 width=120 height=40 depth=32 subtype=RAW  video=1 audio=0 "
                         "alpha=4 matte=255,255,255 scale=15 samplesize=1 duration=6 frames=6"),
            std::string::npos)
      << run.out;
  EXPECT_NE(run.out.find("image a frame=4 result=0 guard=1"), std::string::npos);
  EXPECT_NE(run.out.find("analysis a result=0 size=512 text=\n"), std::string::npos);
  EXPECT_NE(run.out.find("close a result=0 fileref=0"), std::string::npos);
  EXPECT_NE(run.out.find("selector 6 result=3"), std::string::npos);
  EXPECT_NE(run.out.find("unload blocks=0 foreign=0"), std::string::npos);
}

TEST_F(EditorProgramTest, UnknownCommandStopsTheScript) {
  const std::string script = "frobnicate\ninit\n";
  const std::string path = dir_.write("bad.txt", Bytes(script.begin(), script.end()));
  const ProgramRun run = runEditor(dir_, "script \"" + path + "\"");
  EXPECT_EQ(run.exitCode, 1u);
  EXPECT_NE(run.out.find("error"), std::string::npos);
  EXPECT_EQ(run.out.find("init"), std::string::npos);
}

TEST_F(EditorProgramTest, RenderWritesTopDownRgbaFramesOfTheClip) {
  const std::string movie = dir_.write("r.swf", squares(4));
  mvqtest::TempDir out;
  const ProgramRun run = runEditor(dir_, "render --movie \"" + movie + "\" --out \"" + out.path() + "\"");
  ASSERT_EQ(run.exitCode, 0u) << run.err;
  EXPECT_NE(run.out.find("size 120x40"), std::string::npos);
  // Before the frames: the range to expect.
  ASSERT_NE(run.out.find("frames 0 3"), std::string::npos);
  EXPECT_LT(run.out.find("frames 0 3"), run.out.find("\nframe 0"));
  EXPECT_EQ(out.entryCount(), 4u);
  for (int frame = 0; frame < 4; ++frame) {
    const Bytes rgba = mvqtest::readFile(out.file("frame_0000" + std::to_string(frame) + ".rgba"));
    ASSERT_EQ(rgba.size(), 120u * 40 * 4) << frame;
    const uint8_t* square = &rgba[(5 * 120 + 10 * frame + 5) * 4];
    EXPECT_EQ(square[0], 255);  // red first
    EXPECT_EQ(square[1], 0);
    EXPECT_EQ(square[3], 255);
    const uint8_t* stage = &rgba[(30 * 120 + 100) * 4];
    EXPECT_EQ(stage[3], 0);
  }
}

TEST_F(EditorProgramTest, RenderOfARangeAtAnotherSize) {
  const std::string movie = dir_.write("q.swf", squares(8));
  mvqtest::TempDir out;
  const ProgramRun run = runEditor(dir_, "render --movie \"" + movie + "\" --out \"" + out.path() +
                                             "\" --frames 5-6 --size 60x20 --mode normal --keep-aspect");
  ASSERT_EQ(run.exitCode, 0u) << run.err;
  EXPECT_EQ(out.entryCount(), 2u);
  EXPECT_EQ(mvqtest::readFile(out.file("frame_00006.rgba")).size(), 60u * 20 * 4);
}

TEST_F(EditorProgramTest, RenderFailuresAreReportedWithACode) {
  mvqtest::TempDir out;
  const std::string text = dir_.write("text.swf", Bytes(200, 'z'));
  ProgramRun run = runEditor(dir_, "render --movie \"" + text + "\" --out \"" + out.path() + "\"");
  EXPECT_EQ(run.exitCode, 1u);
  EXPECT_NE(run.err.find("imGetInfo returned 2"), std::string::npos) << run.err;
  run = runEditor(dir_, "render --movie x.swf --out \"" + out.path() + "\" --frames 9-3");
  EXPECT_EQ(run.exitCode, 2u);
  run = runEditor(dir_, "render --movie x.swf --out \"" + out.path() + "\" --plugin \"" + editor::programDirectory() +
                            "preminfo.dll\"");
  EXPECT_EQ(run.exitCode, 1u);
  EXPECT_NE(run.err.find("not an importer"), std::string::npos) << run.err;
  EXPECT_EQ(out.entryCount(), 0u);
}

}  // namespace
