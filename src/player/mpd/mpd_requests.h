// SPDX-License-Identifier: GPL-3.0-or-later
// MPD where the settings place it, reached and asked within deadlines: one
// connection, opened when needed (with the password, and MPD's own music
// folder over a local socket), opened again once when it broke, and left
// alone for a while after a request failed, so that the rest of a tick does
// not wait on it again; the while grows with each failure in a row, so that
// a server that keeps failing is not connected to again and again. POSIX
// only.
#pragma once

#include <chrono>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "player/mpd/mpd_address.h"
#include "player/mpd/mpd_dial.h"
#include "player/mpd/mpd_session.h"

namespace jukora {

class SettingsStore;

// MPD's error numbers.
inline constexpr int kMpdWrongPassword = 3;
inline constexpr int kMpdNoPermission = 4;
inline constexpr int kMpdNoSuchSong = 50;

enum class Reached {
  kReady,  // connected; an answer that refuses a command is ready too, the caller reads why
  kBusy,   // no answer in time, or away in the middle of a cycle: try again later
  kGone,   // nothing there, an unknown name or a refused password: gone_why() says so
};

class MpdRequests {
 public:
  using Time = std::chrono::steady_clock::time_point;

  explicit MpdRequests(const SettingsStore& settings);
  ~MpdRequests();

  // An open connection by `deadline`.
  Reached open(Time deadline);
  // Opens, then runs the commands.
  Reached ask(const std::vector<MpdCommand>& commands, MpdAnswer& answer, Time deadline);
  // Runs the commands on the connection open() has just made ready.
  MpdAnswer run(const std::vector<MpdCommand>& commands, Time deadline) { return session_->run(commands, deadline); }

  // While a play cycle runs MPD is never gone, only away for a while.
  void set_in_cycle(bool in_cycle) { in_cycle_ = in_cycle; }
  bool in_cycle() const { return in_cycle_; }
  // Called with the deadline of the request that made a new connection.
  std::function<void(Time)> on_connected;
  // Counts connections, so that a cycle checks the modes once on each.
  unsigned connection_number() const { return connection_number_; }

  // Why MPD is gone, for the user, naming its address.
  const std::string& gone_why() const { return gone_why_; }
  const MpdAddress& address() const { return address_; }
  // What MPD's database song names are relative to: the user's setting, or
  // what MPD itself said over a local socket.
  std::string music_folder() const;

 private:
  Reached gone(const MpdAddress& address, const std::string& why);
  // Dials, greets and keeps the connection.
  Reached connect(const MpdAddress& address, Time deadline);
  // The requests of the next while answer at once: busy, or gone when the
  // failure was that MPD is gone.
  void back_off(bool gone);
  // The password and the config question of a new connection; kReady with
  // MPD's music folder (empty when it gave none).
  Reached greet(MpdSession& fresh, const MpdAddress& address, Time deadline, std::string& mpd_folder);

  const SettingsStore& settings_;
  MpdDialer dialer_;
  std::unique_ptr<MpdSession> session_;
  MpdAddress address_;
  std::string mpd_music_folder_;
  unsigned connection_number_ = 0;
  bool in_cycle_ = false;
  // The address last dialled, the failures there in a row, and until when
  // the last one is answered without asking again.
  MpdAddress tried_;
  unsigned failures_ = 0;
  Time quiet_until_{};
  bool failed_gone_ = false;
  // Set by gone(): the attempt under way found MPD gone.
  bool went_ = false;
  std::string gone_why_;
};

}  // namespace jukora
