// SPDX-License-Identifier: GPL-3.0-or-later
#include "player/mpd/request_budget.h"

namespace jukora {

RequestBudget::Request::Request(RequestBudget& budget) : budget_(budget), start_(Clock::now()) {
  if (start_ - budget_.last_end_ >= budget_.pause_ ||
      start_ - budget_.first_start_ >= budget_.per_event_ + budget_.pause_) {
    budget_.spent_ = {};
    budget_.first_start_ = start_;
  }
  const Clock::duration left = budget_.per_event_ - budget_.spent_;
  deadline_ = start_ + (left > Clock::duration{} ? left : Clock::duration{});
}

RequestBudget::Request::~Request() {
  budget_.last_end_ = Clock::now();
  budget_.spent_ += budget_.last_end_ - start_;
}

}  // namespace jukora
