// SPDX-License-Identifier: GPL-3.0-or-later
// The session's event loop on the main window's message queue: work posted
// as a message of the window, timers as its WM_TIMER.
#pragma once

#include <windows.h>

#include <deque>
#include <map>
#include <mutex>

#include "platform/event_loop.h"

namespace jukora {

class Win32PlayTimer;

// The window's message that runs posted work.
inline constexpr UINT kPostedWorkMessage = WM_APP + 4;

class Win32EventLoop : public EventLoop {
 public:
  // The window the work and the timers go through; until it is set, they wait.
  void set_window(HWND window);

  void post(std::function<void()> work) override;
  std::unique_ptr<Timer> timer(std::chrono::milliseconds interval, std::function<void()> tick) override;

  // The window's messages: the next piece of work posted, and the tick of
  // timer `id` (false when it is none of this loop's).
  void run_posted();
  bool tick(UINT_PTR id);

 private:
  class LoopTimer;
  struct Entry {
    Win32PlayTimer* timer;
    std::function<void()> tick;
  };

  HWND window_ = nullptr;
  std::mutex mutex_;
  std::deque<std::function<void()>> posted_;
  std::map<UINT_PTR, Entry> timers_;
  // The ids below are the window's own timers (tmrJukora's is 1).
  UINT_PTR next_id_ = 100;
};

}  // namespace jukora
