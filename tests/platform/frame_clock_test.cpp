#include "platform/frame_clock.h"

#include <gtest/gtest.h>

#include <deque>

namespace {

constexpr i32 kPeriod = 20000;
constexpr i64 kStart = 1000000;

// A clock that advances only when the loop waits: a wait either runs to its
// time-out or is cut short by input scripted to arrive after some time.
class FakeTime : public FrameTimeSource {
 public:
  i64 NowUs() override { return now; }
  int WaitInput(int, i64 timeoutUs) override {
    lastTimeout = timeoutUs;
    if (!inputAfter.empty() && inputAfter.front() < timeoutUs) {
      now += inputAfter.front();
      inputAfter.pop_front();
      return 1;
    }
    now += timeoutUs;
    return 0;
  }
  i64 now = kStart;
  i64 lastTimeout = -1;
  std::deque<i64> inputAfter;  // microseconds from the start of each wait
};

class FramePacerTest : public testing::Test {
 protected:
  void SetUp() override { pacer.Start(kPeriod); }
  int Wait(bool queued = false) { return pacer.WaitFrame(3, kPeriod, queued); }
  FakeTime time;
  FramePacer pacer{&time};
};

}  // namespace

TEST_F(FramePacerTest, TicksOncePerPeriodWithoutInput) {
  for (int i = 1; i <= 5; ++i) {
    EXPECT_EQ(Wait(), 0);
    EXPECT_EQ(time.now, kStart + i * kPeriod);
  }
}

TEST_F(FramePacerTest, InputMovesTheDeadlineFromTheWaitsEntryWithoutATick) {
  time.inputAfter = {5000};
  EXPECT_NE(Wait(), 0);
  EXPECT_EQ(pacer.Deadline(), kStart + kPeriod);  // not one period after the input
  EXPECT_EQ(Wait(), 0);
  EXPECT_EQ(time.lastTimeout, 15000);
  // Input every 8 ms of a 20 ms period always comes first: no tick at all.
  for (int i = 0; i < 10; ++i) {
    time.inputAfter = {8000};
    EXPECT_NE(Wait(), 0);
  }
  // Queued events count as input without a wait.
  time.lastTimeout = -1;
  EXPECT_NE(Wait(true), 0);
  EXPECT_EQ(time.lastTimeout, -1);
}

TEST_F(FramePacerTest, LateTickDoesNotCatchUp) {
  time.now += 5 * kPeriod;  // the game was busy for five periods
  EXPECT_EQ(Wait(), 0);
  EXPECT_EQ(time.lastTimeout, -1);  // no wait at all
  EXPECT_EQ(pacer.Deadline(), time.now + kPeriod);
  EXPECT_EQ(Wait(), 0);
  EXPECT_EQ(time.lastTimeout, kPeriod);
}
