// SPDX-License-Identifier: GPL-3.0-or-later
#include "win32/win32_event_loop.h"

#include <cstddef>
#include <utility>

#include "win32/win32_play_timer.h"

namespace jukora {

class Win32EventLoop::LoopTimer : public Win32PlayTimer {
 public:
  LoopTimer(Win32EventLoop& loop, UINT_PTR id, UINT interval_ms)
      : Win32PlayTimer(id, interval_ms), loop_(loop), id_(id) {}
  ~LoopTimer() override { loop_.timers_.erase(id_); }

 private:
  Win32EventLoop& loop_;
  const UINT_PTR id_;
};

void Win32EventLoop::set_window(HWND window) {
  window_ = window;
  for (auto& [id, entry] : timers_) entry.timer->set_window(window);
  std::size_t waiting = 0;
  {
    const std::lock_guard<std::mutex> lock(mutex_);
    waiting = posted_.size();
  }
  for (std::size_t i = 0; i < waiting; ++i) PostMessageW(window_, kPostedWorkMessage, 0, 0);
}

void Win32EventLoop::post(std::function<void()> work) {
  {
    const std::lock_guard<std::mutex> lock(mutex_);
    posted_.push_back(std::move(work));
  }
  if (window_) PostMessageW(window_, kPostedWorkMessage, 0, 0);
}

std::unique_ptr<Timer> Win32EventLoop::timer(std::chrono::milliseconds interval, std::function<void()> tick) {
  const UINT_PTR id = next_id_++;
  auto made = std::make_unique<LoopTimer>(*this, id, static_cast<UINT>(interval.count()));
  timers_[id] = {made.get(), std::move(tick)};
  if (window_) made->set_window(window_);
  return made;
}

void Win32EventLoop::run_posted() {
  // One message for each piece of work: what the work posts in turn waits
  // for the messages that came before it.
  std::function<void()> work;
  {
    const std::lock_guard<std::mutex> lock(mutex_);
    if (posted_.empty()) return;
    work = std::move(posted_.front());
    posted_.pop_front();
  }
  work();
}

bool Win32EventLoop::tick(UINT_PTR id) {
  const auto found = timers_.find(id);
  if (found == timers_.end()) return false;
  // A copy: the tick may end the timer itself.
  const std::function<void()> tick = found->second.tick;
  tick();
  return true;
}

}  // namespace jukora
