// SPDX-License-Identifier: GPL-3.0-or-later
// MPD's repeat, random, single and consume belong to the server and every
// client shares them; any of them would break a cycle (repeat never ends a
// one-song queue, random reorders an export, single stops it after a song,
// consume eats it). They are turned off when a cycle starts or an export is
// handed over, and the user's values go back when the cycle ends, at once
// or as soon as MPD answers again. POSIX only.
#pragma once

#include <array>
#include <chrono>
#include <optional>
#include <string>

#include "player/mpd/mpd_session.h"

namespace jukora {

class MpdRequests;

class MpdModes {
 public:
  using Time = std::chrono::steady_clock::time_point;

  // Puts modes that are due back on every new connection of `requests`.
  explicit MpdModes(MpdRequests& requests);

  // The first status of a cycle starts it; modes are switched off then, and
  // again on every new connection during it (a restarted MPD may have
  // brought them back from its state file).
  void note_cycle_status(const MpdAnswer& status, Time deadline);
  // An export is no cycle: the modes stay off while it plays, until Stop.
  void hold_for_export(const MpdAnswer& status, Time deadline);
  void end_cycle(Time deadline);

 private:
  static constexpr std::size_t kCount = 4;
  using Modes = std::array<std::string, kCount>;

  void hold(const MpdAnswer& status, Time deadline);
  bool put_back(Time deadline);

  MpdRequests& requests_;
  unsigned checked_on_ = 0;
  // The user's modes while Jukora keeps them off, and whether they are due
  // to be put back (a cycle ended while MPD was away).
  std::optional<Modes> held_;
  bool due_ = false;
};

}  // namespace jukora
