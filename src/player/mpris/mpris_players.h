// SPDX-License-Identifier: GPL-3.0-or-later
// The MPRIS players on the session bus, which of them is the program's own
// mpv, and the one the settings choose: the player being driven, with what
// it offers and how its polls stand.
#pragma once

#include <QDBusMessage>
#include <QString>
#include <chrono>
#include <functional>
#include <map>
#include <optional>
#include <vector>

#include "player/mpris/mpris_link.h"
#include "player/mpris/mpris_rules.h"

namespace jukora {

class MprisCalls;
class MprisSettings;

// The player being driven, from the moment its bus name was chosen.
struct DrivenPlayer {
  using Time = std::chrono::steady_clock::time_point;

  QString name, owner;
  bool polled = false;  // its first poll came back
  int pending_facts = 0;
  bool has_open_uri = true;
  bool can_edit_tracks = false;
  bool polling = false;
  Time poll_sent{};
  bool silent = false;  // a call ran out of time; busy until it answers again

  bool ready() const { return polled && pending_facts == 0; }
  // It let a call run out, or has not answered a poll within a second.
  bool unresponsive(Time now) const;
};

class MprisPlayers {
 public:
  enum class Choice {
    kSame,  // the player chosen before, or none as before
    kNew,   // another player: nothing learned of the last one holds
    kGone,  // none any more
  };

  MprisPlayers(MprisCalls& calls, const MprisSettings& settings, MprisLink::OwnPlayerTest own_player);

  // Called when something the choice or the player's answers depend on was
  // learned.
  std::function<void()> on_news;

  // Chooses again among the names on the bus: the stem itself before any
  // name with an instance suffix, never the program's own mpv.
  Choice choose();
  DrivenPlayer* chosen() { return player_ ? &*player_ : nullptr; }
  bool is_chosen(const QString& owner) const { return player_ && player_->owner == owner; }
  // Whether a name of the chosen stem is still being looked at.
  bool deciding() const;

  // Every MPRIS player on the bus, one entry per stem, the program's own
  // mpv left out.
  void list_players(std::function<void(std::vector<MprisPlayer>)> done);

 private:
  struct BusName {
    QString owner;
    std::optional<bool> own;  // nothing until its process has been checked
  };

  void name_owner_changed(const QDBusMessage& signal);
  void learn_owner(const QString& name);
  void check_own(const QString& name);
  // What the chosen player offers: OpenUri, and a TrackList it lets us edit.
  void learn_facts();
  void news() const {
    if (on_news) on_news();
  }

  MprisCalls& calls_;
  const MprisSettings& settings_;
  MprisLink::OwnPlayerTest own_player_;
  std::map<QString, BusName> names_;
  std::optional<DrivenPlayer> player_;
};

}  // namespace jukora
