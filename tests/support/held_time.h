// SPDX-License-Identifier: GPL-3.0-or-later
// How long a piece of work held the calling thread, as a handler holds the
// event loop: the time on the clock less the time the thread stood ready to
// run while other processes ran. A loaded machine stretches the one but not
// the other, so a bound on it holds on a busy test machine too, while the
// work's own computing and waiting still count in full.
#pragma once

#include <chrono>
#include <fstream>

namespace jukora::testing {

// The time this thread has stood ready to run while others ran (Linux
// schedstat); zero where the system does not tell.
inline std::chrono::nanoseconds time_kept_from_running() {
  std::ifstream stats("/proc/thread-self/schedstat");
  long long running = 0, kept = 0;
  return stats >> running >> kept ? std::chrono::nanoseconds(kept) : std::chrono::nanoseconds(0);
}

template <class Work>
std::chrono::nanoseconds held_by(Work&& work) {
  const auto kept_before = time_kept_from_running();
  const auto start = std::chrono::steady_clock::now();
  work();
  const auto took = std::chrono::steady_clock::now() - start;
  return std::chrono::duration_cast<std::chrono::nanoseconds>(took) - (time_kept_from_running() - kept_before);
}

}  // namespace jukora::testing
