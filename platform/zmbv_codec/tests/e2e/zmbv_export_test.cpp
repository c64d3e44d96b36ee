// The codec in the real program: chosen in the export settings' compressor
// chooser, used by Create AVI, and its file equal frame for frame to an
// uncompressed export of the same movie.
#include "export_test_support.h"
#include "host_command.h"

namespace e2e {
namespace {

const char kDescription[] = "Zip Motion Block Video (ZMBV)";

// The counting movie with a box that moves along its top, clear of the centre.
mvqtest::Bytes movingBoxMovie(int frames) {
  return numberedMovie(frames, 10, -1, [](mvqtest::SwfBuilder& movie, int k) {
    if (k == 0) {
      movie.defineRectShape(500, Rect::pixels(40, 30), Rgba{200, 30, 30, 255});
      movie.placeObject2(500, 2, mvqtest::Matrix::translate(0, 0));
    } else {
      movie.moveObject2(2, mvqtest::Matrix::translate(k * 100, k * 20));
    }
  });
}

// Picks the compressor whose name has `name` in the chooser of the settings
// dialog; false when the chooser or the entry is missing.
bool chooseCompressor(ProgramSession& program, HWND settings, const char* name) {
  ui::pressButton(settings, IDC_COMPRESSOR_SELECT);
  HWND chooser = program.waitForDialog("Video Compression");
  if (!chooser) return false;
  HWND list = nullptr;
  for (HWND child : ui::childWindows(chooser))
    if (ui::className(child) == "ComboBox") list = child;
  DWORD_PTR index = CB_ERR;
  if (list) SendMessageTimeoutA(list, CB_SELECTSTRING, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(name),
                                SMTO_ABORTIFHUNG, ui::kMessageTimeoutMs, &index);
  const bool found = static_cast<LRESULT>(index) != CB_ERR;
  ui::pressButton(chooser, found ? IDOK : IDCANCEL);
  return ui::waitUntil([&] { return !IsWindow(chooser); }, kWaitMs) && found;
}

class ZmbvExportTest : public ExportTest {
 protected:
  // Create AVI, frame by frame and silent, with the named compressor (none: the
  // one chosen before); "" when the export ran.
  std::string exportWith(const std::string& out, const char* compressor) {
    program_->command(ID_FILE_CREATE_AVI);
    HWND save = program_->waitForDialog("Create AVI File");
    if (!save || !ui::chooseFile(save, out)) return "no save dialog";
    HWND settings = program_->waitForDialog("AVI Export Setting");
    if (!settings) return "no settings dialog";
    if (compressor && !chooseCompressor(*program_, settings, compressor)) return "compressor not offered";
    shownName_ = ui::controlText(settings, IDC_COMPRESSOR_NAME);
    ui::clickControl(settings, IDC_AUDIO_NONE);
    ui::clickControl(settings, IDC_FRAME_BY_FRAME);
    ui::pressButton(settings, IDOK);
    if (!ui::waitUntil([&] { return !IsWindow(settings); }, kWaitMs)) return "settings stayed open";
    if (HWND progress = program_->waitForDialog("Converting to AVI"))
      ui::waitUntil([&] { return !IsWindow(progress); }, 120000);
    ui::waitForIdle(program_->mainWindow());
    return ui::waitForMessageBox(program_->processId(), 100) ? "message box" : "";
  }

  std::string shownName_;
};

// The frame numbers the AVI file services show, decoding through the installed codec.
std::vector<int> decodedFrames(const std::string& path) {
  std::vector<int> frames;
  AVIFileInit();
  PAVISTREAM stream = nullptr;
  if (AVIStreamOpenFromFileA(&stream, path.c_str(), streamtypeVIDEO, 0, OF_READ, nullptr) == AVIERR_OK) {
    BITMAPINFOHEADER wanted{};
    wanted.biSize = sizeof wanted;
    wanted.biWidth = kWidth;
    wanted.biHeight = kHeight;
    wanted.biPlanes = 1;
    wanted.biBitCount = 24;
    wanted.biCompression = BI_RGB;
    if (PGETFRAME reader = AVIStreamGetFrameOpen(stream, &wanted)) {
      for (LONG k = 0; k < AVIStreamLength(stream); ++k) {
        const auto* header = static_cast<const BITMAPINFOHEADER*>(AVIStreamGetFrame(reader, k));
        if (!header) break;
        const BYTE* bits = reinterpret_cast<const BYTE*>(header) + header->biSize;
        const size_t row = kHeight - 1 - kHeight / 2;  // bottom-up
        const BYTE* p = bits + row * ((kWidth * 3 + 3) & ~3) + (kWidth / 2) * 3;
        frames.push_back(frameOf(RGB(p[2], p[1], p[0])));
      }
      AVIStreamGetFrameClose(reader);
    }
    AVIStreamRelease(stream);
  }
  AVIFileExit();
  return frames;
}

// The frames the file's index marks as key frames.
std::vector<int> keyFrames(const std::string& path) {
  std::vector<int> keys;
  AVIFileInit();
  PAVISTREAM stream = nullptr;
  if (AVIStreamOpenFromFileA(&stream, path.c_str(), streamtypeVIDEO, 0, OF_READ, nullptr) == AVIERR_OK) {
    for (LONG k = 0; k < AVIStreamLength(stream); ++k)
      if (AVIStreamIsKeyFrame(stream, k)) keys.push_back(k);
    AVIStreamRelease(stream);
  }
  AVIFileExit();
  return keys;
}

std::string ffmpegOutput(const std::string& avi, const std::string& arguments) {
  return audiotest::runHostCommand("ffmpeg -v error -i '" + audiotest::hostPath(avi) + "' " + arguments)
      .value_or("ffmpeg failed");
}

TEST_F(ZmbvExportTest, ChosenInTheDialogItWritesTheSameFramesSmaller) {
  if (!audiotest::hostToolAvailable("ffmpeg")) GTEST_SKIP() << "the host's ffmpeg is not reachable";
  const std::string movie = writeMovie("box.swf", movingBoxMovie(24));
  program_ = launch();
  ASSERT_TRUE(program_ && program_->openMovie(movie, movie));
  ASSERT_EQ("", exportWith(out("plain.avi"), nullptr));
  ASSERT_EQ("", exportWith(out("zmbv.avi"), "Zip Motion"));
  EXPECT_EQ(std::string(" ") + kDescription, shownName_);

  const std::string codec = audiotest::runHostCommand(
      "ffprobe -v error -select_streams v:0 -show_entries stream=codec_name -of csv=p=0 '" +
      audiotest::hostPath(out("zmbv.avi")) + "'").value_or("");
  EXPECT_EQ("zmbv", codec.substr(0, 4));
  // Every frame the same: compare the decoded frames' checksums.
  const std::string frames = "-f framemd5 -pix_fmt bgr24 - | grep -v '^#' | cut -d, -f3-";
  const std::string plain = ffmpegOutput(out("plain.avi"), frames);
  EXPECT_EQ(24, std::count(plain.begin(), plain.end(), '\n'));
  EXPECT_EQ(plain, ffmpegOutput(out("zmbv.avi"), frames));
  // The AVI file services read it too, through the codec.
  EXPECT_EQ(range(0, 23), shownFrames(out("plain.avi")));
  EXPECT_EQ(range(0, 23), decodedFrames(out("zmbv.avi")));
  // A key frame every 15 (the default): a player seeking to frame 20 starts from 15.
  EXPECT_EQ(range(0, 23), keyFrames(out("plain.avi")));
  EXPECT_EQ((std::vector<int>{0, 15}), keyFrames(out("zmbv.avi")));
  EXPECT_LT(mvqtest::readFile(out("zmbv.avi")).size() * 20, mvqtest::readFile(out("plain.avi")).size());
}

}  // namespace
}  // namespace e2e
