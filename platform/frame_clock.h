// The frame clock of the main loop: a tick is due when a whole period has
// passed without input. The time source and the wait are replaceable, so
// the rule can be tested without a display or real time.
#pragma once

#include "platform/types.h"

class FrameTimeSource {
 public:
  virtual ~FrameTimeSource() = default;
  // Microseconds of a monotonic clock (a wall-clock step must not stall
  // the game).
  virtual i64 NowUs() = 0;
  // Waits until descriptor fd is readable or timeoutUs passes: > 0 input,
  // 0 time-out, < 0 error.
  virtual int WaitInput(int fd, i64 timeoutUs) = 0;
};

// CLOCK_MONOTONIC and select().
class SystemFrameTimeSource : public FrameTimeSource {
 public:
  i64 NowUs() override;
  int WaitInput(int fd, i64 timeoutUs) override;
  static SystemFrameTimeSource& Instance();
};

class FramePacer {
 public:
  explicit FramePacer(FrameTimeSource* source = &SystemFrameTimeSource::Instance())
      : source_(source) {}

  // Starts the clock: the first tick is due one period from now.
  void Start(i32 periodUs);
  // Waits for the deadline or for input on fd. Returns 0 when the wait ran
  // out (a tick is due), nonzero when input arrived or the wait failed.
  // Either way the next deadline is one period after the moment that ends
  // the wait (input: the moment of entry), so late ticks do not catch up.
  // inputQueued says events are already waiting: no wait at all.
  int WaitFrame(int fd, i32 periodUs, bool inputQueued = false);

  i64 Deadline() const { return deadline_; }
  void SetSource(FrameTimeSource* source) { source_ = source; }

 private:
  FrameTimeSource* source_;
  i64 deadline_ = 0;
  i64 now_ = 0;
};
