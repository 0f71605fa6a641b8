// SPDX-License-Identifier: GPL-3.0-or-later
// A wait the user is told of: a command that is held up (a database another
// program holds locked) says what it waits for once it has waited a second,
// instead of sitting silent, and says it once.
#pragma once

#include <chrono>
#include <string>

namespace jukora {

class WaitNotice {
 public:
  using Clock = std::chrono::steady_clock;
  // How long a wait goes untold, and how often a waiter should look.
  static constexpr std::chrono::seconds kQuiet{1};
  static constexpr std::chrono::milliseconds kLookEvery{100};

  // `what` holds the work up now (empty: nothing does). The line to tell
  // once `what` has held it up for kQuiet ("Waiting for WHAT."); else empty.
  std::string look(const std::string& what, Clock::time_point now = Clock::now());

 private:
  std::string what_;
  Clock::time_point since_{};
  bool told_ = false;
};

}  // namespace jukora
