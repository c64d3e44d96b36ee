#include "audio_format.h"

#include <gtest/gtest.h>

#include <cstring>
#include <future>
#include <string>

#include "audio_format_ids.h"
#include "ui_controls.h"
#include "ui_file_dialog.h"
#include "ui_windows.h"
#include "wav_samples.h"

namespace {

using audiotest::pcmFormat;

bool sameFormat(const WAVEFORMATEX& a, const WAVEFORMATEX& b) { return std::memcmp(&a, &b, sizeof a) == 0; }

TEST(formatText, PcmIsNamedByTheDrivers) {
  const std::string stereo = formatText(defaultAudioFormat());
  const std::string mono = formatText(pcmFormat(1, 22050, 8));
  EXPECT_EQ(0u, stereo.find(" PCM: ")) << stereo;
  EXPECT_EQ(0u, mono.find(" PCM: ")) << mono;
  EXPECT_NE(stereo, mono);
  EXPECT_EQ(std::string::npos, stereo.find("unknown"));
  if (GetProcAddress(GetModuleHandleA("ntdll.dll"), "wine_get_version")) {
    EXPECT_EQ(" PCM: 44100 Hz; 16 bits; Stereo", stereo) << "Wine's PCM driver";
    EXPECT_EQ(" PCM: 22050 Hz; 8 bits; Mono", mono);
  }
}

TEST(formatText, AFormatNoDriverKnowsGetsTheFallbackNames) {
  WAVEFORMATEX unknown = defaultAudioFormat();
  unknown.wFormatTag = 0x7A7A;
  EXPECT_EQ(" unknown tag: unknown format", formatText(unknown));
}

// The chooser runs modal on this thread; a helper thread works it like a user.
class FormatChooser : public ::testing::Test {
 protected:
  // Waits for the chooser, notes whether it is built on template 318, presses button.
  std::future<bool> pressWhenShown(int button) {
    return std::async(std::launch::async, [button] {
      HWND dialog = ui::waitForDialog(GetCurrentProcessId(), nullptr, 10000);
      if (!dialog) return false;
      const bool ourTemplate = ui::windowText(GetDlgItem(dialog, -1)) == "&Format :" ||
                               GetDlgItem(dialog, IDC_AUDIO_FORMAT_ATTRIBUTES) != nullptr;
      bool attributesLabel = false;
      for (HWND child : ui::childWindows(dialog)) attributesLabel |= ui::windowText(child) == "&Attributes :";
      ui::pressButton(dialog, button);
      return ourTemplate && attributesLabel;
    });
  }
};

TEST_F(FormatChooser, CancellingKeepsTheFormatAndText) {
  WAVEFORMATEX format = pcmFormat(1, 22050, 16);
  const WAVEFORMATEX before = format;
  std::string text = " earlier text";
  std::future<bool> shown = pressWhenShown(IDCANCEL);
  EXPECT_FALSE(chooseAudioFormat(nullptr, &format, &text));
  EXPECT_TRUE(shown.get()) << "the chooser showed template 318";
  EXPECT_TRUE(sameFormat(before, format));
  EXPECT_EQ(" earlier text", text);
}

TEST_F(FormatChooser, AcceptingTakesTheChosenFormatAndItsText) {
  WAVEFORMATEX format = pcmFormat(1, 22050, 16);
  std::string text = " earlier text";
  std::future<bool> shown = pressWhenShown(IDOK);
  ASSERT_TRUE(chooseAudioFormat(nullptr, &format, &text));
  EXPECT_TRUE(shown.get());
  EXPECT_TRUE(sameFormat(pcmFormat(1, 22050, 16), format)) << "the chooser starts on the given format";
  EXPECT_EQ(formatText(format), text);
}

}  // namespace
