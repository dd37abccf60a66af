// A yield to the event loop that costs nothing when it comes often: it
// lets the loop run only when the last time was at least 10 ms ago, so a
// transfer can keep a yield per value while the window still repaints
// every few milliseconds.
#pragma once

#include <chrono>

#include "transfer/transfer_page.h"

namespace transfer {

class ThrottledYield {
 public:
  static constexpr std::chrono::milliseconds kInterval{10};

  explicit ThrottledYield(TransferPage& page) : page_(page) {}

  void operator()() {
    const auto now = std::chrono::steady_clock::now();
    if (now - last_ < kInterval) return;
    page_.processEvents();
    last_ = std::chrono::steady_clock::now();
  }

 private:
  TransferPage& page_;
  std::chrono::steady_clock::time_point last_{};
};

}  // namespace transfer
