#include "platform/frame_clock.h"

#include <gtest/gtest.h>

#include <deque>

namespace {

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
  i64 now = 1000000;
  i64 lastTimeout = -1;
  std::deque<i64> inputAfter;  // microseconds from the start of each wait
};

}  // namespace

TEST(FramePacer, TicksOncePerPeriodWithoutInput) {
  FakeTime time;
  FramePacer pacer(&time);
  pacer.Start(20000);
  for (int i = 0; i < 5; ++i) {
    EXPECT_EQ(pacer.WaitFrame(3, 20000), 0);
    EXPECT_EQ(time.now, 1000000 + (i + 1) * 20000);
  }
}

TEST(FramePacer, InputBeforeTheDeadlineMovesItWithoutATick) {
  FakeTime time;
  FramePacer pacer(&time);
  pacer.Start(20000);
  time.inputAfter = {5000};
  EXPECT_NE(pacer.WaitFrame(3, 20000), 0);
  // The next deadline is one period after the wait was entered, not after
  // the input arrived.
  EXPECT_EQ(pacer.Deadline(), 1000000 + 20000);
  EXPECT_EQ(pacer.WaitFrame(3, 20000), 0);
  EXPECT_EQ(time.lastTimeout, 15000);
}

TEST(FramePacer, SteadyInputStarvesTicks) {
  // Each wait ends at the deadline set one period after the previous
  // entry, so input every 8 ms of a 20 ms period always comes first.
  FakeTime time;
  FramePacer pacer(&time);
  pacer.Start(20000);
  for (int i = 0; i < 10; ++i) {
    time.inputAfter = {8000};
    EXPECT_NE(pacer.WaitFrame(3, 20000), 0);
  }
}

TEST(FramePacer, LateTickDoesNotCatchUp) {
  FakeTime time;
  FramePacer pacer(&time);
  pacer.Start(20000);
  time.now += 100000;  // the game was busy for five periods
  EXPECT_EQ(pacer.WaitFrame(3, 20000), 0);
  EXPECT_EQ(time.lastTimeout, -1);  // no wait at all
  EXPECT_EQ(pacer.Deadline(), time.now + 20000);
  EXPECT_EQ(pacer.WaitFrame(3, 20000), 0);
  EXPECT_EQ(time.lastTimeout, 20000);
}

TEST(FramePacer, QueuedEventsCountAsInput) {
  FakeTime time;
  FramePacer pacer(&time);
  pacer.Start(20000);
  EXPECT_NE(pacer.WaitFrame(3, 20000, true), 0);
  EXPECT_EQ(time.lastTimeout, -1);
}
