#include "recording_mixer.h"

#include <gtest/gtest.h>

#include "model_mixer.h"

namespace {

using audiotest::ModelControl;
using audiotest::ModelDestination;
using audiotest::ModelLine;
using audiotest::ModelMixer;

constexpr DWORD kWaveOut = MIXERLINE_COMPONENTTYPE_SRC_WAVEOUT;
constexpr DWORD kVolume = MIXERCONTROL_CONTROLTYPE_VOLUME;
HWND const kWindow = reinterpret_cast<HWND>(0x777);

ModelControl volume(DWORD id, std::vector<DWORD> values, DWORD steps = 100) {
  ModelControl control;
  control.id = id;
  control.values = std::move(values);
  control.steps = steps;
  return control;
}

ModelControl mute(DWORD id) {
  ModelControl control;
  control.id = id;
  control.type = MIXERCONTROL_CONTROLTYPE_MUTE;
  control.flags = MIXERCONTROL_CONTROLF_UNIFORM;
  control.maximum = 1;
  control.steps = 1;
  control.values = {0};
  return control;
}

ModelLine line(DWORD type, std::vector<ModelControl> controls) {
  ModelLine result;
  result.componentType = type;
  result.controls = std::move(controls);
  return result;
}

// A recording destination with a master volume and two wave-output sources
// around a microphone source.
ModelMixer soundCard() {
  ModelMixer mixer;
  ModelDestination speakers;
  speakers.line = line(MIXERLINE_COMPONENTTYPE_DST_SPEAKERS, {volume(1, {1000, 1000})});
  speakers.sources = {line(kWaveOut, {volume(2, {2000, 2000})})};
  ModelDestination recording;
  recording.line = line(MIXERLINE_COMPONENTTYPE_DST_WAVEIN, {mute(10), volume(11, {30000, 40000})});
  recording.sources = {line(kWaveOut, {volume(12, {100, 200})}),
                       line(MIXERLINE_COMPONENTTYPE_SRC_MICROPHONE, {volume(13, {5, 5})}),
                       line(kWaveOut, {mute(14), volume(15, {300, 400})})};
  mixer.destinations = {speakers, recording};
  return mixer;
}

int reported = 0;
void countOutOfMemory() { ++reported; }

TEST(RecordingMixer, MasterAndWaveOutputSourcesOfTheRecordingDestination) {
  ModelMixer model = soundCard();
  RecordingMixer mixer(countOutOfMemory, model);
  ASSERT_TRUE(mixer.open(kWindow, kWaveOut, kVolume));
  EXPECT_EQ(kWindow, model.notifiedWindow);
  EXPECT_TRUE(mixer.hasMaster());
  EXPECT_EQ(2u, mixer.sourceCount());
  EXPECT_EQ(100u, mixer.steps());
  EXPECT_EQ(61, mixer.level()) << "the larger channel, 40000, over the unit 655";
}

TEST(RecordingMixer, SettingALevelWritesItsValueToEveryChannelOfEveryControl) {
  ModelMixer model = soundCard();
  RecordingMixer mixer(countOutOfMemory, model);
  ASSERT_TRUE(mixer.open(kWindow, kWaveOut, kVolume));
  ASSERT_TRUE(mixer.setLevel(10));
  EXPECT_EQ((std::vector<DWORD>{6550, 6550}), model.control(11)->values);
  EXPECT_EQ((std::vector<DWORD>{6550, 6550}), model.control(12)->values);
  EXPECT_EQ((std::vector<DWORD>{6550, 6550}), model.control(15)->values);
  EXPECT_EQ((std::vector<DWORD>{5, 5}), model.control(13)->values) << "the microphone is left alone";
  EXPECT_EQ((std::vector<DWORD>{2000, 2000}), model.control(2)->values) << "playback lines are left alone";
  EXPECT_EQ(10, mixer.level());
}

TEST(RecordingMixer, WithoutAMasterTheFirstSourceGivesStepsUnitAndLevel) {
  ModelMixer model = soundCard();
  model.destinations[1].line.controls = {mute(10)};
  model.destinations[1].sources[0].controls[0].steps = 50;  // unit 1310
  model.destinations[1].sources[0].controls[0].values = {13100, 2620};
  RecordingMixer mixer(countOutOfMemory, model);
  ASSERT_TRUE(mixer.open(kWindow, kWaveOut, kVolume));
  EXPECT_FALSE(mixer.hasMaster());
  EXPECT_EQ(2u, mixer.sourceCount());
  EXPECT_EQ(50u, mixer.steps());
  EXPECT_EQ(10, mixer.level());
  ASSERT_TRUE(mixer.setLevel(3));
  EXPECT_EQ((std::vector<DWORD>{3930, 3930}), model.control(15)->values);
}

TEST(RecordingMixer, NoWaveOutputSourceMeansNoMixer) {
  ModelMixer model = soundCard();
  model.destinations[1].sources = {line(MIXERLINE_COMPONENTTYPE_SRC_MICROPHONE, {volume(13, {5, 5})})};
  RecordingMixer mixer(countOutOfMemory, model);
  EXPECT_FALSE(mixer.open(kWindow, kWaveOut, kVolume));
  EXPECT_EQ(1, model.closes) << "the mixer was given back";
  EXPECT_FALSE(mixer.setLevel(5));
  EXPECT_EQ(0u, mixer.steps());
}

TEST(RecordingMixer, SourcesWithoutTheControlOrWithUnreadableValuesAreDropped) {
  ModelMixer model = soundCard();
  model.destinations[1].sources[0].controls = {mute(16)};
  model.destinations[1].sources[2].controls[1].readFails = true;
  RecordingMixer mixer(countOutOfMemory, model);
  EXPECT_FALSE(mixer.open(kWindow, kWaveOut, kVolume));
}

TEST(RecordingMixer, NoDeviceOrABusyDeviceMeansNoMixer) {
  ModelMixer absent;
  absent.present = false;
  RecordingMixer none(countOutOfMemory, absent);
  EXPECT_FALSE(none.open(kWindow, kWaveOut, kVolume));
  EXPECT_EQ(0, absent.opens);

  ModelMixer busy = soundCard();
  busy.openFails = true;
  RecordingMixer refused(countOutOfMemory, busy);
  EXPECT_FALSE(refused.open(kWindow, kWaveOut, kVolume));
  EXPECT_EQ(0, busy.closes);
}

TEST(RecordingMixer, PlaybackLinesAloneAreNotARecordingLevel) {
  ModelMixer model = soundCard();
  model.destinations.erase(model.destinations.begin() + 1);
  RecordingMixer mixer(countOutOfMemory, model);
  EXPECT_FALSE(mixer.open(kWindow, kWaveOut, kVolume)) << "the speakers' wave output is playback";
  EXPECT_EQ(0u, mixer.steps());
}

TEST(RecordingMixer, ARecordingDestinationWithoutControlsStillLendsItsSources) {
  ModelMixer model = soundCard();
  model.destinations[1].line.controls.clear();
  RecordingMixer mixer(countOutOfMemory, model);
  ASSERT_TRUE(mixer.open(kWindow, kWaveOut, kVolume));
  EXPECT_FALSE(mixer.hasMaster());
  EXPECT_EQ(2u, mixer.sourceCount());
  EXPECT_EQ(0, mixer.level()) << "200 over the unit 655";
}

TEST(RecordingMixer, TheFirstRecordingDestinationWithControlsIsTaken) {
  ModelMixer model = soundCard();
  ModelDestination bare;
  bare.line = line(MIXERLINE_COMPONENTTYPE_DST_WAVEIN, {});
  bare.sources = {line(kWaveOut, {volume(20, {65500, 65500})})};
  ModelDestination later = model.destinations[1];
  later.line.controls[1] = volume(21, {6550, 6550});
  later.sources = {line(kWaveOut, {volume(22, {0, 0})})};
  model.destinations.insert(model.destinations.begin(), bare);
  model.destinations.push_back(later);
  RecordingMixer mixer(countOutOfMemory, model);
  ASSERT_TRUE(mixer.open(kWindow, kWaveOut, kVolume));
  EXPECT_TRUE(mixer.hasMaster());
  EXPECT_EQ(61, mixer.level()) << "the second destination, not the bare first nor the last";
  EXPECT_EQ(2u, mixer.sourceCount());
}

TEST(RecordingMixer, UnitsDecideHowTheLargestValueIsRead) {
  ModelMixer model = soundCard();
  ModelControl& master = model.destinations[1].line.controls[1];
  master.type = MIXERCONTROL_CONTROLTYPE_SIGNED | 0x0001;  // a signed "volume" of its own type
  master.minimum = static_cast<DWORD>(-32768);
  master.maximum = 32767;
  master.steps = 64;  // unit 1023
  master.values = {static_cast<DWORD>(-20000), 10230};
  for (ModelLine& source : model.destinations[1].sources) {
    for (ModelControl& control : source.controls) {
      if (control.type == kVolume) control.type = master.type;
    }
  }
  RecordingMixer mixer(countOutOfMemory, model);
  ASSERT_TRUE(mixer.open(kWindow, kWaveOut, master.type));
  EXPECT_EQ(10, mixer.level()) << "-20000 is below 10230 when read as signed";
}

TEST(RecordingMixer, ControlsWithCustomUnitsAreSkipped) {
  ModelMixer model = soundCard();
  model.destinations[1].line.controls[1].type = MIXERCONTROL_CONTROLTYPE_CUSTOM;
  model.destinations[1].sources[0].controls[0].type = MIXERCONTROL_CONTROLTYPE_CUSTOM;
  model.destinations[1].sources[2].controls[1].type = MIXERCONTROL_CONTROLTYPE_CUSTOM;
  RecordingMixer mixer(countOutOfMemory, model);
  EXPECT_FALSE(mixer.open(kWindow, kWaveOut, MIXERCONTROL_CONTROLTYPE_CUSTOM));
}

TEST(RecordingMixer, UniformAndMultipleItemControlsHoldTheirValues) {
  ModelMixer model = soundCard();
  ModelControl& master = model.destinations[1].line.controls[1];
  master.flags = MIXERCONTROL_CONTROLF_UNIFORM | MIXERCONTROL_CONTROLF_MULTIPLE;
  master.items = 3;
  master.values = {655, 6550, 1310};
  RecordingMixer mixer(countOutOfMemory, model);
  ASSERT_TRUE(mixer.open(kWindow, kWaveOut, kVolume));
  EXPECT_EQ(10, mixer.level());
  ASSERT_TRUE(mixer.setLevel(2));
  EXPECT_EQ((std::vector<DWORD>{1310, 1310, 1310}), master.values);
}

TEST(RecordingMixer, AFailedWriteStopsSetLevel) {
  ModelMixer model = soundCard();
  model.control(12)->writeFails = true;
  RecordingMixer mixer(countOutOfMemory, model);
  ASSERT_TRUE(mixer.open(kWindow, kWaveOut, kVolume));
  EXPECT_FALSE(mixer.setLevel(7));
  EXPECT_EQ(1, model.control(11)->writes);
  EXPECT_EQ(1, model.control(12)->writes);
  EXPECT_EQ(0, model.control(15)->writes) << "nothing is written after the failure";
}

TEST(RecordingMixer, ControlChangesOfItsOwnControlsAreReadAgain) {
  ModelMixer model = soundCard();
  RecordingMixer mixer(countOutOfMemory, model);
  ASSERT_TRUE(mixer.open(kWindow, kWaveOut, kVolume));
  model.control(11)->values = {13100, 0};
  model.control(15)->values = {655, 1965};
  int level = -1;
  EXPECT_TRUE(mixer.onControlChange(ModelMixer::handle(), 11, &level));
  EXPECT_EQ(20, level);
  EXPECT_EQ(20, mixer.level());
  EXPECT_TRUE(mixer.onControlChange(ModelMixer::handle(), 15, &level));
  EXPECT_EQ(3, level);
  EXPECT_EQ(20, mixer.level()) << "the level follows the master";

  EXPECT_FALSE(mixer.onControlChange(ModelMixer::handle(), 13, &level)) << "not one of its controls";
  EXPECT_FALSE(mixer.onControlChange(reinterpret_cast<HMIXER>(0x99), 11, &level)) << "another mixer";
  model.control(12)->readFails = true;
  level = -1;
  EXPECT_FALSE(mixer.onControlChange(ModelMixer::handle(), 12, &level));
  EXPECT_EQ(0, level);
}

TEST(RecordingMixer, AControlTooLargeToHoldReportsOutOfMemoryAndEndsTheSearch) {
  ModelMixer model = soundCard();
  ModelControl& first = model.destinations[1].sources[0].controls[0];
  first.flags = MIXERCONTROL_CONTROLF_MULTIPLE;
  first.items = 0x7FFFFFFF;
  reported = 0;
  RecordingMixer mixer(countOutOfMemory, model);
  EXPECT_FALSE(mixer.open(kWindow, kWaveOut, kVolume)) << "the later source is not looked at";
  EXPECT_EQ(1, reported);
}

TEST(RecordingMixer, ZeroStepsGiveLevelZeroWithoutDividing) {
  ModelMixer model = soundCard();
  model.destinations[1].line.controls[1].steps = 0;
  RecordingMixer mixer(countOutOfMemory, model);
  ASSERT_TRUE(mixer.open(kWindow, kWaveOut, kVolume));
  EXPECT_EQ(0u, mixer.steps());
  EXPECT_EQ(0, mixer.level());
}

}  // namespace
