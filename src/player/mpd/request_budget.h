// SPDX-License-Identifier: GPL-3.0-or-later
// One event of the window may ask MPD several things (a tick: is a song
// playing, then the next song; a click: which song, then its score). Each
// request has a deadline, but together they must not hold the window longer
// than one may: the requests that follow each other without a pause share
// one wait, and a server that answers slowly uses it up for all of them.
#pragma once

#include <chrono>

namespace jukora {

class RequestBudget {
 public:
  using Clock = std::chrono::steady_clock;

  // `per_event` is the most that requests of one event may wait in all;
  // requests further apart than `pause` belong to different events, and so
  // do requests that come without pause for longer than both together.
  RequestBudget(std::chrono::milliseconds per_event, std::chrono::milliseconds pause)
      : per_event_(per_event), pause_(pause) {}

  // A request: its deadline, and what it spent counted once it ends.
  class Request {
   public:
    explicit Request(RequestBudget& budget);
    ~Request();
    Request(const Request&) = delete;
    Request& operator=(const Request&) = delete;
    Clock::time_point deadline() const { return deadline_; }

   private:
    RequestBudget& budget_;
    Clock::time_point start_, deadline_;
  };

 private:
  const std::chrono::milliseconds per_event_, pause_;
  Clock::duration spent_{};
  Clock::time_point first_start_{}, last_end_{};
};

}  // namespace jukora
