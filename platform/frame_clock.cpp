#include "platform/frame_clock.h"

#include <sys/select.h>
#include <time.h>

i64 SystemFrameTimeSource::NowUs() {
  timespec ts;
  clock_gettime(CLOCK_MONOTONIC, &ts);
  return static_cast<i64>(ts.tv_sec) * 1000000 + ts.tv_nsec / 1000;
}

int SystemFrameTimeSource::WaitInput(int fd, i64 timeoutUs) {
  fd_set readSet;
  FD_ZERO(&readSet);
  if (fd >= 0) FD_SET(fd, &readSet);
  timeval timeout;
  timeout.tv_sec = static_cast<time_t>(timeoutUs / 1000000);
  timeout.tv_usec = static_cast<suseconds_t>(timeoutUs % 1000000);
  return select(fd + 1, &readSet, nullptr, nullptr, &timeout);
}

SystemFrameTimeSource& SystemFrameTimeSource::Instance() {
  static SystemFrameTimeSource source;
  return source;
}

void FramePacer::Start(i32 periodUs) {
  now_ = source_->NowUs();
  deadline_ = now_ + periodUs;
}

int FramePacer::WaitFrame(int fd, i32 periodUs, bool inputQueued) {
  now_ = source_->NowUs();
  int r;
  if (inputQueued) {
    r = 1;
  } else {
    const i64 remaining = deadline_ - now_;
    r = remaining > 0 ? source_->WaitInput(fd, remaining) : 0;
  }
  if (r == 0) now_ = source_->NowUs();
  deadline_ = now_ + periodUs;
  return r;
}
