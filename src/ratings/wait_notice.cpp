// SPDX-License-Identifier: GPL-3.0-or-later
#include "ratings/wait_notice.h"

namespace jukora {

std::string WaitNotice::look(const std::string& what, Clock::time_point now) {
  if (what != what_) {
    what_ = what;
    since_ = now;
    told_ = false;
  }
  if (what_.empty() || told_ || now - since_ < kQuiet) return {};
  told_ = true;
  return "Waiting for " + what_ + ".";
}

}  // namespace jukora
