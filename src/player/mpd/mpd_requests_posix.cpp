// SPDX-License-Identifier: GPL-3.0-or-later
#include <algorithm>
#include <optional>
#include <utility>

#include "player/mpd/mpd_requests.h"

namespace jukora {

namespace {

using Clock = std::chrono::steady_clock;

// After a failure the requests that follow give up at once for a while,
// instead of waiting on the server again or connecting again and again: a
// while that doubles with each failure in a row, up to a few seconds.
constexpr std::chrono::milliseconds kFirstPause{400};
constexpr std::chrono::milliseconds kLongestPause{5000};

std::string quoted(const std::string& text) { return "\"" + text + "\""; }

}  // namespace

MpdRequests::MpdRequests(const SettingsStore& settings) : settings_(settings) {}

MpdRequests::~MpdRequests() = default;

Reached MpdRequests::gone(const MpdAddress& address, const std::string& why) {
  went_ = true;
  gone_why_ = "MPD at " + address.describe() + " cannot be reached: " + why +
              ".  Jukora does not start MPD: start it, or check the MPD settings in Preferences.";
  return in_cycle_ ? Reached::kBusy : Reached::kGone;
}

std::string MpdRequests::music_folder() const {
  std::string folder = read_mpd_music_folder(settings_);
  return folder.empty() ? mpd_music_folder_ : folder;
}

Reached MpdRequests::open(Time deadline) {
  MpdAddress address = read_mpd_address(settings_);
  if (session_ && (address != address_ || !session_->usable())) session_.reset();
  if (session_) return Reached::kReady;
  // Another address is another server: it gets its own chances.
  if (address != tried_) {
    tried_ = address;
    failures_ = 0;
    quiet_until_ = {};
  }
  if (Clock::now() < quiet_until_) return failed_gone_ && !in_cycle_ ? Reached::kGone : Reached::kBusy;
  went_ = false;
  const Reached reached = connect(address, deadline);
  if (reached != Reached::kReady) back_off(went_);
  return reached;
}

void MpdRequests::back_off(bool gone) {
  failed_gone_ = gone;
  const auto pause = kFirstPause * (1LL << std::min(failures_, 4u));
  quiet_until_ = Clock::now() + std::min<std::chrono::milliseconds>(pause, kLongestPause);
  ++failures_;
}

Reached MpdRequests::connect(const MpdAddress& address, Time deadline) {
  dialer_.dial(address);
  std::optional<Dialled> dialled = dialer_.wait(deadline);
  if (!dialled) return Reached::kBusy;
  switch (dialled->result) {
    case Dialled::Result::kConnected:
      break;
    case Dialled::Result::kTimedOut:
      return Reached::kBusy;
    case Dialled::Result::kRefused:
      return gone(address, "nothing answers there (" + dialled->detail + ")");
    case Dialled::Result::kUnknownHost:
      return gone(address, "the name " + quoted(address.host) + " is not known (" + dialled->detail + ")");
    case Dialled::Result::kNotSocket:
      return gone(address, "that is not a socket");
    case Dialled::Result::kNotMpd:
      return gone(address, "what answers there is not MPD");
  }
  auto fresh = MpdSession::adopt(dialled->fd);
  if (!fresh) return Reached::kBusy;
  std::string mpd_folder;
  if (Reached greeted = greet(*fresh, address, deadline, mpd_folder); greeted != Reached::kReady) return greeted;
  session_ = std::move(fresh);
  address_ = address;
  mpd_music_folder_ = mpd_folder;
  ++connection_number_;
  if (on_connected) on_connected(deadline);
  return Reached::kReady;
}

Reached MpdRequests::greet(MpdSession& fresh, const MpdAddress& address, Time deadline, std::string& mpd_folder) {
  std::vector<MpdCommand> hello;
  if (!address.password.empty()) hello.push_back({"password", address.password});
  // MPD tells a local client where its music lives.
  const std::size_t config = hello.size();
  if (address.is_socket()) hello.push_back({"config"});
  if (hello.empty()) return Reached::kReady;
  MpdAnswer answer = fresh.run(hello, deadline);
  if (answer.status == MpdAnswer::Status::kError && answer.code == kMpdWrongPassword)
    return gone(address, "it refused the password");
  if (answer.status == MpdAnswer::Status::kTimedOut || answer.status == MpdAnswer::Status::kLost) return Reached::kBusy;
  mpd_folder = answer.value(config, "music_directory");
  while (mpd_folder.size() > 1 && mpd_folder.back() == '/') mpd_folder.pop_back();
  if (!mpd_folder.starts_with('/')) mpd_folder.clear();
  return Reached::kReady;
}

Reached MpdRequests::ask(const std::vector<MpdCommand>& commands, MpdAnswer& answer, Time deadline) {
  // A connection that broke since its last use is opened again once.
  for (int attempt = 0; attempt < 2; ++attempt) {
    Reached reach = open(deadline);
    if (reach != Reached::kReady) return reach;
    answer = session_->run(commands, deadline);
    switch (answer.status) {
      case MpdAnswer::Status::kOk:
        failures_ = 0;
        return Reached::kReady;
      case MpdAnswer::Status::kError:
        failures_ = 0;
        if (answer.code == kMpdNoPermission && answer.text.starts_with("you don't have permission"))
          return gone(address_, "it wants a password (or one with more rights) for " +
                                    quoted(commands[answer.replies.size()][0]));
        return Reached::kReady;
      case MpdAnswer::Status::kTimedOut:
        session_.reset();
        back_off(false);
        return Reached::kBusy;
      case MpdAnswer::Status::kLost:
        session_.reset();
        break;
    }
  }
  back_off(false);
  return Reached::kBusy;
}

}  // namespace jukora
