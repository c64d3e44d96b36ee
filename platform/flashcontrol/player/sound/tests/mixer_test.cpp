#include "sound_mixer.h"

#include <gtest/gtest.h>

#include <vector>

#include "sound_bodies.h"

namespace {

using Samples = std::vector<int16_t>;
using soundtest::Bytes;

Samples ramp(int count, int start = 100, int step = 100) {
  Samples out;
  for (int i = 0; i < count; ++i) out.push_back(static_cast<int16_t>(start + i * step));
  return out;
}

class Mixer : public ::testing::Test {
 protected:
  void define(uint16_t id, const Samples& samples, bool stereo = false, uint8_t rateCode = 3) {
    const Bytes body = soundtest::defineSoundBody(id, samples, stereo, rateCode);
    ASSERT_TRUE(library_.define(body.data(), body.size()));
  }
  void start(uint16_t id, const swf::SoundInfo& info = {}) {
    const Bytes body = soundtest::startSoundBody(id, info);
    mixer_.startSound(library_, body.data(), body.size());
  }
  // The left channel of the next frames.
  Samples left(size_t frames) {
    Samples stereo(2 * frames);
    mixer_.render(stereo.data(), frames);
    Samples out;
    for (size_t i = 0; i < frames; ++i) out.push_back(stereo[2 * i]);
    return out;
  }
  swf::SoundLibrary library_;
  swf::SoundMixer mixer_;
};

TEST_F(Mixer, AnEventSoundPlaysOnceOnBothChannelsThenSilence) {
  define(1, ramp(3));
  start(1);
  Samples stereo(10);
  mixer_.render(stereo.data(), 5);
  EXPECT_EQ((Samples{100, 100, 200, 200, 300, 300, 0, 0, 0, 0}), stereo);
  EXPECT_TRUE(mixer_.silent());
}

TEST_F(Mixer, LowerRatesAreBroughtTo44100) {
  define(1, {0, 400}, false, 2);  // 22050 Hz
  start(1);
  EXPECT_EQ((Samples{0, 200, 400, 400, 0}), left(5));
}

TEST_F(Mixer, SoundsPlayingTogetherAddUpAndClip) {
  define(1, {30000, 30000, -30000});
  define(2, {10000, -10000, -10000});
  start(1);
  start(2);
  EXPECT_EQ((Samples{32767, 20000, -32768}), left(3));
}

TEST_F(Mixer, LoopsRepeatTheSound) {
  define(1, ramp(2));
  swf::SoundInfo info;
  info.loopCount = 3;
  start(1, info);
  EXPECT_EQ((Samples{100, 200, 100, 200, 100, 200, 0}), left(7));
}

TEST_F(Mixer, InAndOutPointsCutEveryLoop) {
  define(1, ramp(6));
  swf::SoundInfo info;
  info.hasInPoint = info.hasOutPoint = true;
  info.inPoint = 1;
  info.outPoint = 4;
  info.loopCount = 2;
  start(1, info);
  EXPECT_EQ((Samples{200, 300, 400, 200, 300, 400, 0}), left(7));

  info.inPoint = 5;
  info.outPoint = 99;  // past the end: the end of the sound
  info.loopCount = 1;
  start(1, info);
  EXPECT_EQ((Samples{600, 0}), left(2));
  info.inPoint = info.outPoint = 3;  // nothing between
  start(1, info);
  EXPECT_EQ(0u, mixer_.eventSoundsPlaying());
}

TEST_F(Mixer, SyncNoMultipleWaitsForThePlayingInstance) {
  define(1, ramp(3));
  swf::SoundInfo once;
  once.syncNoMultiple = true;
  start(1, once);
  EXPECT_EQ((Samples{100}), left(1));
  start(1, once);
  EXPECT_EQ(1u, mixer_.eventSoundsPlaying());
  start(1);
  EXPECT_EQ(2u, mixer_.eventSoundsPlaying()) << "a plain start plays alongside";
  EXPECT_EQ((Samples{300, 500, 300}), left(3));
  start(1, once);
  EXPECT_EQ((Samples{100}), left(1));
}

TEST_F(Mixer, SyncStopEndsTheSoundsInstancesOnly) {
  define(1, ramp(4));
  define(2, ramp(4, 1000, 0));
  start(1);
  start(1);
  start(2);
  left(1);
  swf::SoundInfo stop;
  stop.syncStop = true;
  start(1, stop);
  EXPECT_EQ(1u, mixer_.eventSoundsPlaying());
  EXPECT_EQ((Samples{1000, 1000, 1000, 0}), left(4));
}

TEST_F(Mixer, TheEnvelopeScalesEachChannelBetweenItsPoints) {
  define(1, Samples(6, 10000));
  swf::SoundInfo info;
  info.envelope = {{1, 0, 32768}, {5, 32768, 0}};
  start(1, info);
  Samples stereo(12);
  mixer_.render(stereo.data(), 6);
  EXPECT_EQ((Samples{0, 10000, 0, 10000, 2500, 7500, 5000, 5000, 7500, 2500, 10000, 0}), stereo);
}

TEST_F(Mixer, UnknownSoundsAndCutBodiesStartNothing) {
  define(1, ramp(3));
  start(9);
  const Bytes body = soundtest::startSoundBody(1, {});
  mixer_.startSound(library_, body.data(), 2);
  EXPECT_EQ(0u, mixer_.eventSoundsPlaying());
}

TEST_F(Mixer, SoundsStartedGoOnAfterTheLibraryIsCleared) {
  define(1, ramp(3));
  start(1);
  library_.clear();
  EXPECT_EQ((Samples{100, 200, 300}), left(3));
}

TEST_F(Mixer, TheNumberOfSoundsAtOnceIsBounded) {
  define(1, ramp(10));
  for (int i = 0; i < 40; ++i) start(1);
  EXPECT_EQ(swf::SoundMixer::kMaxEventSounds, mixer_.eventSoundsPlaying());
}

TEST_F(Mixer, AStreamPlaysItsBlocksInOrderAndUnderrunsAsSilence) {
  const Bytes head = soundtest::streamHeadBody(2, true, 2);  // 22050 Hz stereo
  mixer_.streamHead(7, head.data(), head.size());
  const Bytes first = soundtest::pcmBlock({100, -100, 300, -300});
  const Bytes second = soundtest::pcmBlock({500, -500});
  mixer_.streamBlock(7, first.data(), first.size());
  mixer_.streamBlock(7, second.data(), second.size());
  EXPECT_EQ(6u, mixer_.streamFramesQueued(7));
  Samples stereo(16);
  mixer_.render(stereo.data(), 8);
  // Each block is interpolated inside itself and holds its last frame.
  EXPECT_EQ((Samples{100, -100, 200, -200, 300, -300, 300, -300, 500, -500, 500, -500, 0, 0, 0, 0}), stereo);
}

TEST_F(Mixer, StreamsOfDifferentTimelinesMixAndEndOnTheirOwn) {
  const Bytes head = soundtest::streamHeadBody(3, false, 2);
  mixer_.streamHead(1, head.data(), head.size());
  mixer_.streamHead(2, head.data(), head.size());
  const Bytes block = soundtest::pcmBlock({1000, 1000});
  mixer_.streamBlock(1, block.data(), block.size());
  mixer_.streamBlock(2, block.data(), block.size());
  mixer_.streamBlock(3, block.data(), block.size());  // no head: ignored
  EXPECT_EQ(0u, mixer_.streamFramesQueued(3));
  EXPECT_EQ((Samples{2000}), left(1));
  mixer_.endStream(2);
  EXPECT_EQ((Samples{1000, 0}), left(2));
}

TEST_F(Mixer, StopAllSilencesEverythingAtOnce) {
  define(1, ramp(100));
  start(1);
  const Bytes head = soundtest::streamHeadBody(3, false, 2);
  mixer_.streamHead(0, head.data(), head.size());
  const Bytes block = soundtest::pcmBlock(ramp(50));
  mixer_.streamBlock(0, block.data(), block.size());
  EXPECT_FALSE(mixer_.silent());
  mixer_.stopAll();
  EXPECT_TRUE(mixer_.silent());
  EXPECT_EQ(Samples(4, 0), left(4));
  mixer_.streamBlock(0, block.data(), block.size());
  EXPECT_EQ(0u, mixer_.streamFramesQueued(0)) << "the stream needs a new head";
}

TEST_F(Mixer, AStreamThatNobodyPlaysStopsGrowing) {
  const Bytes head = soundtest::streamHeadBody(3, true, 4410);
  mixer_.streamHead(0, head.data(), head.size());
  const Bytes block = soundtest::pcmBlock(Samples(2 * 44100, 1));
  for (int i = 0; i < 12; ++i) mixer_.streamBlock(0, block.data(), block.size());
  EXPECT_EQ(swf::StreamSound::kMaxQueuedFrames, mixer_.streamFramesQueued(0));
}

TEST_F(Mixer, OwnersMixByTheirTransformAndKeepItOnceReleased) {
  define(1, {1000, 1000, 1000, 1000, 1000, 1000}, false);
  swf::MixTransform half;
  half.volume = 50;
  swf::MixTransform right;
  right.ll = 0;
  right.rl = 0;
  right.lr = 100;  // the left input goes right as well
  mixer_.setOwnerTransform(7, half);
  const uint64_t owned = mixer_.startSound(library_.find(1), {}, 7);
  const uint64_t plain = mixer_.startSound(library_.find(1), {}, 8);
  EXPECT_NE(0u, owned);
  EXPECT_NE(owned, plain);
  Samples stereo(4);
  mixer_.render(stereo.data(), 2);
  EXPECT_EQ((Samples{1500, 1500, 1500, 1500}), stereo);
  mixer_.setOwnerTransform(7, right);  // applies to what plays already
  mixer_.releaseOwner(7);
  mixer_.setOwnerTransform(7, half);  // a new owner at the same address
  mixer_.render(stereo.data(), 2);
  EXPECT_EQ((Samples{1000, 3000, 1000, 3000}), stereo);
  mixer_.stopOwner(8);
  EXPECT_TRUE(mixer_.voicePlaying(owned));
  EXPECT_FALSE(mixer_.voicePlaying(plain));
  swf::MixTransform silent;
  silent.volume = 0;
  mixer_.setGlobalTransform(silent);
  mixer_.render(stereo.data(), 2);
  EXPECT_EQ((Samples{0, 0, 0, 0}), stereo);
  EXPECT_EQ(0u, mixer_.eventSoundsPlaying()) << "a silent mix still plays to the end";
}

TEST(SoundInfo, StartSoundFieldsAreReadInOrder) {
  swf::SoundInfo info;
  info.syncNoMultiple = true;
  info.hasInPoint = info.hasOutPoint = true;
  info.inPoint = 0x01020304;
  info.outPoint = 0x0A0B0C0D;
  info.loopCount = 7;
  info.envelope = {{5, 100, 200}, {6, 300, 400}};
  const Bytes body = soundtest::startSoundBody(0x1234, info);
  swf::StartSoundCommand command;
  ASSERT_TRUE(swf::parseStartSound(body.data(), body.size(), &command));
  EXPECT_EQ(0x1234, command.soundId);
  EXPECT_TRUE(command.info.syncNoMultiple);
  EXPECT_FALSE(command.info.syncStop);
  EXPECT_EQ(0x01020304u, command.info.inPoint);
  EXPECT_EQ(0x0A0B0C0Du, command.info.outPoint);
  EXPECT_EQ(7, command.info.loopCount);
  ASSERT_EQ(2u, command.info.envelope.size());
  EXPECT_EQ(6u, command.info.envelope[1].position44);
  EXPECT_EQ(400, command.info.envelope[1].right);
  for (size_t cut = 0; cut < body.size(); ++cut) {
    EXPECT_FALSE(swf::parseStartSound(body.data(), cut, &command)) << cut << " bytes";
  }
}

TEST(StreamHead, Mp3HeadsCarryTheirLatency) {
  const Bytes pcm = soundtest::streamHeadBody(1, false, 1470);
  swf::StreamHead head;
  ASSERT_TRUE(swf::parseStreamHead(pcm.data(), pcm.size(), &head));
  EXPECT_EQ(1470, head.samplesPerBlock);
  EXPECT_EQ(4, head.format.upsampleFactor());
  const Bytes mp3 = {0x0E, 0x2E, 0x40, 0x02, 0xF0, 0xFF};
  ASSERT_TRUE(swf::parseStreamHead(mp3.data(), mp3.size(), &head));
  EXPECT_EQ(swf::SoundCodec::Mp3, head.format.codec);
  EXPECT_EQ(-16, head.latencySeek);
  EXPECT_FALSE(swf::parseStreamHead(mp3.data(), 5, &head));
}

TEST(SoundLibrary, SoundsAreKeptByIdAndAZeroCountDefinesSilence) {
  swf::SoundLibrary library;
  const Bytes loud = soundtest::defineSoundBody(3, {1, 2, 3, 4}, true);
  ASSERT_TRUE(library.define(loud.data(), loud.size()));
  ASSERT_NE(nullptr, library.find(3));
  EXPECT_EQ(2u, library.find(3)->frames());
  Bytes empty = soundtest::defineSoundBody(4, {}, true);
  ASSERT_TRUE(library.define(empty.data(), empty.size()));
  EXPECT_EQ(0u, library.find(4)->frames());
  EXPECT_EQ(nullptr, library.find(5));
  EXPECT_FALSE(library.define(loud.data(), 6)) << "cut before the sample count ends";
}

}  // namespace
