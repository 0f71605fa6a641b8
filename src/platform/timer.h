// SPDX-License-Identifier: GPL-3.0-or-later
// A timer that behaviour switches on and off and the shell ticks: the
// one-second timer that drives the play cycle, the short one that retries a
// score change a busy player could not take, and the others of the session.
#pragma once

namespace jukora {

class Timer {
 public:
  virtual ~Timer() = default;
  // Enabling gives the first tick one interval later; enabling a running
  // timer keeps its rhythm.
  virtual void set_enabled(bool enabled) = 0;
  virtual bool enabled() const = 0;
};

}  // namespace jukora
