// SPDX-License-Identifier: GPL-3.0-or-later
// A timer that behaviour switches on and off and the shell ticks: the
// one-second timer that drives the play cycle, and the short one that
// retries a score change a busy player could not take.
#pragma once

namespace jukora {

class PlayTimer {
 public:
  virtual ~PlayTimer() = default;
  // Enabling gives the first tick one interval later.
  virtual void set_enabled(bool enabled) = 0;
  virtual bool enabled() const = 0;
};

}  // namespace jukora
