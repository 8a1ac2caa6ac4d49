// What each start-up child prints once its first frame is finished, then exits at once.
#pragma once

#include <cstdio>
#include <cstdlib>

#include "probe.h"

namespace bench {

// One line: microseconds from main() to the finished first frame, the peak resident set and
// getrusage's maximum resident set, both in KiB. Exiting here leaves teardown out of the count.
[[noreturn]] inline void reportFirstFrame(Clock::time_point mainEntered, Clock::time_point frame) {
  const auto us = std::chrono::duration_cast<std::chrono::microseconds>(frame - mainEntered).count();
  std::printf("%lld %ld %ld\n", static_cast<long long>(us), peakKib(), maxRssKib());
  std::fflush(stdout);
  std::_Exit(0);
}

}  // namespace bench
