// SPDX-License-Identifier: GPL-3.0-or-later
#include <vector>

#include "player/mpd/mpd_modes.h"
#include "player/mpd/mpd_requests.h"

namespace jukora {

namespace {

constexpr std::array<const char*, 4> kModes = {"repeat", "random", "single", "consume"};

}  // namespace

MpdModes::MpdModes(MpdRequests& requests) : requests_(requests) {
  static_assert(kModes.size() == kCount);
  requests_.on_connected = [this](Time deadline) {
    if (due_ && !requests_.in_cycle()) put_back(deadline);
  };
}

void MpdModes::note_cycle_status(const MpdAnswer& status, Time deadline) {
  if (!requests_.in_cycle()) {
    requests_.set_in_cycle(true);
    due_ = false;
    checked_on_ = 0;
  }
  if (checked_on_ == requests_.connection_number()) return;
  checked_on_ = requests_.connection_number();
  hold(status, deadline);
}

void MpdModes::hold_for_export(const MpdAnswer& status, Time deadline) {
  requests_.set_in_cycle(false);
  due_ = false;
  hold(status, deadline);
}

void MpdModes::hold(const MpdAnswer& status, Time deadline) {
  Modes values;
  bool any_on = false;
  for (std::size_t i = 0; i < kModes.size(); ++i) {
    values[i] = status.value(0, kModes[i]);
    any_on = any_on || (!values[i].empty() && values[i] != "0");
  }
  if (!any_on) return;
  // Modes held already are the user's; what is on now was set meanwhile.
  if (!held_) held_ = values;
  std::vector<MpdCommand> off;
  for (const char* mode : kModes) off.push_back({mode, "0"});
  MpdAnswer answer;
  requests_.ask(off, answer, deadline);
}

bool MpdModes::put_back(Time deadline) {
  std::vector<MpdCommand> back;
  for (std::size_t i = 0; i < kModes.size(); ++i)
    if (!(*held_)[i].empty()) back.push_back({kModes[i], (*held_)[i]});
  MpdAnswer answer = requests_.run(back, deadline);
  if (answer.status == MpdAnswer::Status::kTimedOut || answer.status == MpdAnswer::Status::kLost) return false;
  held_.reset();
  due_ = false;
  return true;
}

void MpdModes::end_cycle(Time deadline) {
  requests_.set_in_cycle(false);
  if (!held_) return;
  // When MPD is away now, they go back as soon as it answers again.
  due_ = true;
  if (requests_.open(deadline) == Reached::kReady && due_) put_back(deadline);
}

}  // namespace jukora
