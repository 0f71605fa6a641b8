// SPDX-License-Identifier: GPL-3.0-or-later
// Reaching MPD without stalling the caller: the name lookup and the connect,
// neither of which can be given a deadline in place, run on a worker thread
// together with the read of MPD's welcome line; the caller waits for the
// outcome only as long as it can afford. POSIX only.
#pragma once

#include <chrono>
#include <memory>
#include <optional>
#include <string>

#include "player/mpd/mpd_address.h"

namespace jukora {

struct Dialled {
  enum class Result {
    kConnected,
    kRefused,      // nothing listens there
    kUnknownHost,  // the name does not resolve
    kNotSocket,    // the path is something other than a socket
    kNotMpd,       // something answered, but not as MPD does
    kTimedOut,     // no answer in time, or the lookup could not be made now
  };
  Result result = Result::kTimedOut;
  // kConnected: the connected socket (non-blocking, closed on exec), MPD's
  // welcome line ("OK MPD 0.23.5") read off it. The receiver owns it.
  int fd = -1;
  std::string detail;  // the system's words for a failure
};

// A connect plus welcome that takes longer than this has failed: a server
// that accepts and never greets is busy, not there.
inline constexpr std::chrono::seconds kDialDeadline{3};

class MpdDialer {
 public:
  MpdDialer() = default;
  MpdDialer(const MpdDialer&) = delete;
  MpdDialer& operator=(const MpdDialer&) = delete;
  // An attempt still running finishes by itself and closes what it opened.
  ~MpdDialer() = default;

  // Starts an attempt at `address`, unless one for it is running or its
  // outcome waits to be taken.
  void dial(const MpdAddress& address);
  // The outcome of the attempt, waiting for it until `deadline`; nothing
  // while it still runs, or when none was started.
  std::optional<Dialled> wait(std::chrono::steady_clock::time_point deadline);

 private:
  struct Attempt;
  std::shared_ptr<Attempt> attempt_;
};

}  // namespace jukora
