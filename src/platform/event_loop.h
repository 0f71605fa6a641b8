// SPDX-License-Identifier: GPL-3.0-or-later
// What behaviour needs from the shell's event loop: timers that tick on it,
// and work it runs once the events pending now have been handled. Long work
// (a drop's walk) goes in steps this way, so that no handler ever runs an
// event loop of its own.
#pragma once

#include <chrono>
#include <functional>
#include <memory>

#include "platform/timer.h"

namespace jukora {

class EventLoop {
 public:
  virtual ~EventLoop() = default;
  // Runs `work` from the event loop, after the events pending now. May be
  // called from any thread.
  virtual void post(std::function<void()> work) = 0;
  // A timer that runs `tick` every `interval` while it is enabled; it starts
  // disabled.
  virtual std::unique_ptr<Timer> timer(std::chrono::milliseconds interval, std::function<void()> tick) = 0;
};

}  // namespace jukora
