// A yield to the event loop that costs nothing when it comes often: it
// lets the loop run only when the last time was at least 10 ms ago, so a
// transfer can keep a yield per value while the window still repaints
// every few milliseconds.
//
// The time comes from the coarse monotonic clock, a read of memory the
// kernel keeps current to a few milliseconds: asked once per value of every
// row, the precise clock cost more than the rest of the yield.
#pragma once

#include <time.h>

#include "transfer/transfer_page.h"

namespace transfer {

class ThrottledYield {
 public:
  static constexpr long kIntervalNanoseconds = 10'000'000;

  explicit ThrottledYield(TransferPage& page) : page_(page) {}

  void operator()() {
    if (nowNanoseconds() - last_ < kIntervalNanoseconds) return;
    page_.processEvents();
    last_ = nowNanoseconds();
  }

 private:
  static long long nowNanoseconds() {
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC_COARSE, &now);
    return static_cast<long long>(now.tv_sec) * 1'000'000'000 + now.tv_nsec;
  }

  TransferPage& page_;
  long long last_ = -kIntervalNanoseconds;
};

}  // namespace transfer
