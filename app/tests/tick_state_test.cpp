#include "tick_state.h"

#include <gtest/gtest.h>

#include "fake_timer_sink.h"

namespace {

class TickStateTest : public ::testing::Test {
 protected:
  void SetUp() override {
    resetTickState();
    state_.window = CreateWindowExA(0, "Static", nullptr, 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
    initFakeTimerSink(&sink_);
    slot_ = &sink_.ITimerSink_iface;
  }
  void TearDown() override { DestroyWindow(state_.window); }

  // Takes every tick message waiting and returns how many there were.
  int queuedTicks() {
    int count = 0;
    MSG message;
    while (PeekMessageA(&message, state_.window, kAppTickMessage, kAppTickMessage, PM_REMOVE)) {
      EXPECT_EQ(0u, message.wParam);
      EXPECT_EQ(reinterpret_cast<LPARAM>(&slot_), message.lParam);
      ++count;
    }
    return count;
  }

  TickState state_{};
  FakeTimerSink sink_;
  ITimerSink* slot_ = nullptr;
  ITimerSink* noted_ = nullptr;
};

TEST_F(TickStateTest, ResetClearsEverything) {
  tickState.window = reinterpret_cast<HWND>(1);
  tickState.pendingTicks = 3;
  tickState.tickReady = 1;
  tickState.recordingActive = 1;
  tickState.videoPassActive = 1;
  resetTickState();
  EXPECT_EQ(nullptr, tickState.window);
  EXPECT_EQ(0, tickState.pendingTicks);
  EXPECT_EQ(0, tickState.tickReady);
  EXPECT_EQ(0, tickState.recordingActive);
  EXPECT_EQ(0, tickState.videoPassActive);
}

TEST_F(TickStateTest, PreviewKeepsAtMostOneTickQueued) {
  for (int i = 0; i < 5; ++i) postTick(state_, &slot_);
  EXPECT_EQ(1, state_.pendingTicks);
  EXPECT_EQ(1, queuedTicks());

  EXPECT_EQ(TickUse::Delivered, takeTick(state_, &slot_, false, 1234, &noted_));
  EXPECT_EQ(0, state_.pendingTicks);
  EXPECT_EQ(1, state_.tickReady);
  EXPECT_EQ(1, sink_.calls);
  EXPECT_EQ(VT_UI4, V_VT(&sink_.last));
  EXPECT_EQ(1234u, V_UI4(&sink_.last));
  EXPECT_EQ(&sink_.ITimerSink_iface, noted_);

  // The next tick finds the queue empty again.
  postTick(state_, &slot_);
  postTick(state_, &slot_);
  EXPECT_EQ(1, queuedTicks());
}

TEST_F(TickStateTest, NoTickDuringTheVideoPass) {
  state_.videoPassActive = 1;
  for (int i = 0; i < 3; ++i) postTick(state_, &slot_);
  EXPECT_EQ(0, queuedTicks());
  EXPECT_EQ(0, state_.pendingTicks);

  // One already queued before the pass is ignored, counters untouched.
  state_.pendingTicks = 1;
  EXPECT_EQ(TickUse::Ignored, takeTick(state_, &slot_, false, 1, &noted_));
  EXPECT_EQ(0, sink_.calls);
  EXPECT_EQ(1, state_.pendingTicks);
  EXPECT_EQ(0, state_.tickReady);
  EXPECT_EQ(nullptr, noted_);
}

TEST_F(TickStateTest, RecordingCountsEveryTickAndPostsWhenReady) {
  state_.recordingActive = 1;
  state_.tickReady = 1;
  for (int i = 0; i < 4; ++i) postTick(state_, &slot_);
  EXPECT_EQ(4, state_.pendingTicks);
  EXPECT_EQ(0, state_.tickReady);
  EXPECT_EQ(1, queuedTicks());

  // Not ready: counted, nothing posted.
  postTick(state_, &slot_);
  EXPECT_EQ(5, state_.pendingTicks);
  EXPECT_EQ(0, queuedTicks());

  // The pass owns the tick: nothing delivered, counters left to it.
  EXPECT_EQ(TickUse::ForRecording, takeTick(state_, &slot_, false, 9, &noted_));
  EXPECT_EQ(0, sink_.calls);
  EXPECT_EQ(5, state_.pendingTicks);
  EXPECT_EQ(0, state_.tickReady);
  EXPECT_EQ(&sink_.ITimerSink_iface, noted_);
}

TEST_F(TickStateTest, StoppedTicksAreNotedButNotDelivered) {
  postTick(state_, &slot_);
  EXPECT_EQ(TickUse::Held, takeTick(state_, &slot_, true, 5, &noted_));
  EXPECT_EQ(0, sink_.calls);
  EXPECT_EQ(&sink_.ITimerSink_iface, noted_);
  EXPECT_EQ(0, state_.pendingTicks);
  EXPECT_EQ(1, state_.tickReady);
}

TEST_F(TickStateTest, WithoutASinkTheCountersAreStillDrained) {
  slot_ = nullptr;
  state_.pendingTicks = 3;
  state_.recordingActive = 1;
  EXPECT_EQ(TickUse::Held, takeTick(state_, &slot_, false, 5, &noted_));
  EXPECT_EQ(0, state_.pendingTicks);
  EXPECT_EQ(1, state_.tickReady);
  EXPECT_EQ(nullptr, noted_);
  EXPECT_EQ(TickUse::Held, takeTick(state_, nullptr, false, 5, &noted_));
}

}  // namespace
