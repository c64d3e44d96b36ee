// The codec in the real program: chosen in the export settings' compressor
// chooser, used by Create AVI, and its files equal frame for frame (and sound
// for sound) to uncompressed exports of the same movie: in every sequence mode,
// with sound from a WAV file or recorded, and split into numbered files.
#include <cstdio>

#include "export_test_support.h"
#include "host_command.h"
#include "recorded_sound.h"

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
    if (compressor && !chooseCompressor(settings, compressor)) return "compressor not offered";
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
  exporttest::AviReader avi(path);
  std::vector<int> frames;
  for (LONG k = 0; k < avi.frames(); ++k) {
    const COLORREF centre = avi.decodedPixel(k, kWidth / 2, kHeight / 2);
    if (centre == CLR_INVALID) break;
    frames.push_back(frameOf(centre));
  }
  return frames;
}

std::vector<int> keyFrames(const std::string& path) { return exporttest::AviReader(path).keyFrames(); }

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

  const std::string codec =
      audiotest::runHostCommand("ffprobe -v error -select_streams v:0 -show_entries stream=codec_name -of csv=p=0 '" +
                                audiotest::hostPath(out("zmbv.avi")) + "'")
          .value_or("");
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

// Each decoded frame's size and checksum, one line a frame, of the file's video.
std::string frameSums(const std::string& avi) {
  return ffmpegOutput(avi, "-map 0:v -f framemd5 -pix_fmt bgr24 - | grep -v '^#' | cut -d, -f4-");
}

std::string soundSum(const std::string& avi) { return ffmpegOutput(avi, "-map 0:a -f md5 -"); }

// The video stream's chunks as stored, read through the AVI file services.
std::vector<std::vector<BYTE>> videoChunks(const std::string& path) {
  exporttest::AviReader avi(path);
  std::vector<std::vector<BYTE>> chunks;
  for (LONG k = 0; k < avi.frames(); ++k) chunks.push_back(avi.chunk(k));
  return chunks;
}

// The frames whose first byte, the ZMBV frame's own flags, marks a key frame.
std::vector<int> flaggedKeyFrames(const std::string& path) {
  std::vector<int> keys;
  const std::vector<std::vector<BYTE>> chunks = videoChunks(path);
  for (size_t k = 0; k < chunks.size(); ++k)
    if (!chunks[k].empty() && (chunks[k][0] & 1)) keys.push_back(static_cast<int>(k));
  return keys;
}

// The zlib level class (FLEVEL) in the header of the first frame's zlib stream
// (after the 7-byte key frame header), -1 without one.
int firstKeyFrameLevel(const std::string& path) {
  const std::vector<std::vector<BYTE>> chunks = videoChunks(path);
  return chunks.empty() || chunks[0].size() < 9 ? -1 : chunks[0][8] >> 6;
}

class ZmbvSequenceTest : public ExportTest {
 protected:
  // The numbered files of a split export, in order.
  std::vector<std::string> numberedFiles(const char* stem) {
    std::vector<std::string> files;
    for (char name[64];;) {
      std::snprintf(name, sizeof name, "%s%04d.avi", stem, static_cast<int>(files.size()));
      if (!mvqtest::fileExists(out(name))) return files;
      files.push_back(out(name));
    }
  }
};

TEST_F(ZmbvSequenceTest, EverySequenceModeWithWavSoundGivesTheUncompressedFramesAndSound) {
  if (!audiotest::hostToolAvailable("ffmpeg")) GTEST_SKIP() << "the host's ffmpeg is not reachable";
  const std::string movie = writeMovie("box.swf", movingBoxMovie(12));
  const std::string wav = work_.write("count.wav", countingWav(44100 * 2));
  const int modes[] = {IDC_SKIP_BACKWARD, IDC_FRAME_BY_FRAME, IDC_NORMAL};
  for (int mode : modes)
    ASSERT_EQ("", exportMovie(movie, out("plain" + std::to_string(mode) + ".avi"), Choice{mode, "", "", "", wav}));
  for (int mode : modes) {
    Choice choice{mode, "", "", "", wav};
    if (mode == modes[0]) choice.compressor = "Zip Motion";
    ASSERT_EQ("", exportMovie(movie, out("zmbv" + std::to_string(mode) + ".avi"), choice));
  }
  for (int mode : modes) {
    SCOPED_TRACE(mode);
    const std::string plain = out("plain" + std::to_string(mode) + ".avi");
    const std::string zmbv = out("zmbv" + std::to_string(mode) + ".avi");
    const std::string sums = frameSums(plain);
    EXPECT_EQ(12, std::count(sums.begin(), sums.end(), '\n'));
    EXPECT_EQ(sums, frameSums(zmbv));
    EXPECT_EQ(soundSum(plain), soundSum(zmbv));
    EXPECT_EQ(12 * 4410 * 4, exporttest::probe(zmbv).soundBytes);
    EXPECT_EQ(range(0, 11), decodedFrames(zmbv));
  }
}

TEST_F(ZmbvSequenceTest, ASplitExportStartsEveryFileWithAKeyFrameAndLosesNoFrameOrSound) {
  if (!audiotest::hostToolAvailable("ffmpeg")) GTEST_SKIP() << "the host's ffmpeg is not reachable";
  // A compressed frame and its 4410 sample frames of sound come to about 18000
  // bytes: a new file every three frames.
  environment_ = {{"MVQ_SPLIT_LIMIT_BYTES", "50000"}};
  const std::string movie = writeMovie("box.swf", movingBoxMovie(12));
  const std::string wav = work_.write("count.wav", countingWav(44100 * 2));
  ASSERT_EQ("", exportMovie(movie, out("plain.avi"), Choice{IDC_FRAME_BY_FRAME}));
  Choice choice{IDC_FRAME_BY_FRAME, "", "", "", wav};
  choice.compressor = "Zip Motion";
  ASSERT_EQ("", exportMovie(movie, out("clip.avi"), choice));
  const std::vector<std::string> files = numberedFiles("clip");
  ASSERT_GE(files.size(), 3u);
  std::string sums;
  std::vector<int> frames;
  for (const std::string& file : files) {
    SCOPED_TRACE(file);
    // Each file decodes on its own: its first frame is a key frame, in its index and in itself.
    sums += frameSums(file);
    const std::vector<int> shown = decodedFrames(file);
    frames.insert(frames.end(), shown.begin(), shown.end());
    ASSERT_FALSE(keyFrames(file).empty());
    EXPECT_EQ(0, keyFrames(file)[0]);
    EXPECT_EQ(keyFrames(file), flaggedKeyFrames(file));
    const exporttest::ProbedVideo video = exporttest::probe(file);
    EXPECT_EQ(video.frames * 4410 * 4, video.soundBytes);
  }
  // Uncompressed frames split at every frame.
  std::string plainSums;
  for (const std::string& file : numberedFiles("plain")) plainSums += frameSums(file);
  EXPECT_EQ(12, std::count(plainSums.begin(), plainSums.end(), '\n'));
  EXPECT_EQ(plainSums, sums);
  EXPECT_EQ(range(0, 11), frames);
}

TEST_F(ZmbvSequenceTest, RecordedSoundGoesWithTheCompressedFrames) {
  if (loopbackMissing() || !audiotest::hostToolAvailable("ffmpeg")) GTEST_SKIP() << "no sound loopback or no ffmpeg";
  const std::string movie = writeMovie("tone.swf", toneMovie(24, 12));
  ASSERT_EQ("", exportMovie(movie, out("silent.avi"), Choice{IDC_NORMAL}));
  Choice choice{IDC_NORMAL};
  choice.record = true;
  choice.compressor = "Zip Motion";
  ASSERT_EQ("", exportMovie(movie, out("tone.avi"), choice));
  // The video pass plays a silent copy: the same frames as without sound.
  EXPECT_EQ(frameSums(out("silent.avi")), frameSums(out("tone.avi")));
  const std::vector<int16_t> sound = leftChannel(out("tone.avi"), out("tone.raw"));
  ASSERT_EQ(24u * kToneSamplesPerFrame, sound.size());
  size_t first = 0;
  while (first < sound.size() && std::abs(sound[first]) < 2000) ++first;
  // The tone begins with frame 12, within a frame.
  EXPECT_GE(first, 11u * kToneSamplesPerFrame);
  EXPECT_LE(first, 13u * kToneSamplesPerFrame);
}

// Wine's chooser offers neither the key-frame interval nor the quality (it keeps
// the record's): the record's key frame every 15 and default quality reach the file.
TEST_F(ZmbvSequenceTest, TheRecordsKeyFrameIntervalAndQualityReachTheFile) {
  const std::string movie = writeMovie("box.swf", movingBoxMovie(32));
  Choice choice{IDC_FRAME_BY_FRAME};
  choice.compressor = "Zip Motion";
  ASSERT_EQ("", exportMovie(movie, out("keys.avi"), choice));
  EXPECT_EQ((std::vector<int>{0, 15, 30}), keyFrames(out("keys.avi")));
  EXPECT_EQ((std::vector<int>{0, 15, 30}), flaggedKeyFrames(out("keys.avi")));
  // Quality "default" (-1) is the codec's default, 1000: zlib level 1, FLEVEL 0.
  EXPECT_EQ(0, firstKeyFrameLevel(out("keys.avi")));
}

}  // namespace
}  // namespace e2e
