// SPDX-License-Identifier: GPL-3.0-or-later
#include <QStringList>
#include <QTimer>
#include <memory>
#include <string>
#include <utility>

#include "player/mpris/mpris_calls.h"
#include "player/mpris/mpris_players.h"
#include "player/mpris/mpris_settings.h"

namespace jukora {

namespace {

using namespace std::chrono_literals;

// A player that has not answered a poll within this counts as busy.
constexpr auto kAnswerWithin = 1s;

bool is_mpris_name(const QString& name) { return name.startsWith(QLatin1String(kMprisPrefix.data())); }

}  // namespace

bool DrivenPlayer::unresponsive(Time now) const { return silent || (polling && now - poll_sent > kAnswerWithin); }

MprisPlayers::MprisPlayers(MprisCalls& calls, const MprisSettings& settings, MprisLink::OwnPlayerTest own_player)
    : calls_(calls), settings_(settings), own_player_(std::move(own_player)) {
  if (!calls_.connected()) return;
  calls_.listen(kDBusService, kDBusPath, kDBusService, QStringLiteral("NameOwnerChanged"),
                [this](const QDBusMessage& signal) { name_owner_changed(signal); });
  calls_.call(MprisCalls::bus_method(QStringLiteral("ListNames")), [this](const QDBusMessage& reply) {
    for (const QString& name : reply.arguments().value(0).toStringList())
      if (is_mpris_name(name)) learn_owner(name);
  });
}

void MprisPlayers::name_owner_changed(const QDBusMessage& signal) {
  const QString name = signal.arguments().value(0).toString();
  const QString owner = signal.arguments().value(2).toString();
  if (!is_mpris_name(name)) return;
  if (owner.isEmpty()) {
    names_.erase(name);
  } else {
    names_[name] = BusName{owner, std::nullopt};
    check_own(name);
  }
  news();
}

void MprisPlayers::learn_owner(const QString& name) {
  QDBusMessage message = MprisCalls::bus_method(QStringLiteral("GetNameOwner"));
  message << name;
  calls_.call(message, [this, name](const QDBusMessage& reply) {
    if (reply.type() == QDBusMessage::ErrorMessage || names_.count(name)) return;
    names_[name] = BusName{reply.arguments().value(0).toString(), std::nullopt};
    check_own(name);
  });
}

void MprisPlayers::check_own(const QString& name) {
  const QString owner = names_[name].owner;
  QDBusMessage message = MprisCalls::bus_method(QStringLiteral("GetConnectionUnixProcessID"));
  message << owner;
  calls_.call(message, [this, name, owner](const QDBusMessage& reply) {
    auto found = names_.find(name);
    if (found == names_.end() || found->second.owner != owner) return;
    auto pid = to_int64(reply.arguments().value(0));
    found->second.own = reply.type() != QDBusMessage::ErrorMessage && pid && own_player_ && own_player_(*pid);
    news();
  });
}

bool MprisPlayers::deciding() const {
  const std::string wanted = settings_.stem();
  for (const auto& [name, entry] : names_)
    if (is_player_of_stem(name.toStdString(), wanted) && !entry.own) return true;
  return false;
}

MprisPlayers::Choice MprisPlayers::choose() {
  const std::string wanted = settings_.stem();
  const std::string exact = std::string(kMprisPrefix) + wanted;
  const std::pair<const QString, BusName>* best = nullptr;
  for (const auto& entry : names_) {
    const std::string name = entry.first.toStdString();
    if (!is_player_of_stem(name, wanted) || entry.second.own != false) continue;
    if (!best || name == exact) best = &entry;
    if (name == exact) break;
  }
  if (!best) {
    if (!player_) return Choice::kSame;
    player_.reset();
    return Choice::kGone;
  }
  if (player_ && player_->name == best->first && player_->owner == best->second.owner) return Choice::kSame;
  player_ = DrivenPlayer{best->first, best->second.owner};
  learn_facts();
  return Choice::kNew;
}

void MprisPlayers::learn_facts() {
  const QString owner = player_->owner;
  ++player_->pending_facts;
  calls_.call(
      QDBusMessage::createMethodCall(owner, kMprisObjectPath, QStringLiteral("org.freedesktop.DBus.Introspectable"),
                                     QStringLiteral("Introspect")),
      [this, owner](const QDBusMessage& reply) {
        if (!is_chosen(owner)) return;
        const std::string xml = reply.arguments().value(0).toString().toStdString();
        // MPRIS asks every player for OpenUri: one that does not
        // describe itself is taken at its word.
        player_->has_open_uri =
            introspection_offers(xml, kMprisPlayerInterface.toStdString(), "OpenUri").value_or(true);
        if (introspection_offers(xml, kMprisTrackListInterface.toStdString(), "AddTrack").value_or(false)) {
          ++player_->pending_facts;
          calls_.call(MprisCalls::get_all(owner, kMprisTrackListInterface), [this, owner](const QDBusMessage& tracks) {
            if (!is_chosen(owner)) return;
            player_->can_edit_tracks = to_map(tracks.arguments().value(0)).value("CanEditTracks").toBool();
            --player_->pending_facts;
            news();
          });
        }
        --player_->pending_facts;
        news();
      });
}

void MprisPlayers::list_players(std::function<void(std::vector<MprisPlayer>)> done) {
  if (!calls_.connected()) {
    QTimer::singleShot(0, &calls_, [done = std::move(done)] { done({}); });
    return;
  }
  // Every MPRIS name is asked for its process and its Identity; the list is
  // handed on when all answers (or their timeouts) are in, one entry per
  // stem. The program's own mpv hides only itself: another mpv stays.
  struct Found {
    std::string stem;
    bool own = false;
    MprisPlayer player;
  };
  struct Gathering {
    std::map<QString, Found> names;
    int waiting = 1;
    std::function<void(std::vector<MprisPlayer>)> done;
    void finish_one() {
      if (--waiting > 0) return;
      std::map<std::string, MprisPlayer> by_stem;
      for (auto& [name, found] : names)
        if (!found.own && !by_stem.count(found.stem)) by_stem[found.stem] = std::move(found.player);
      std::vector<MprisPlayer> list;
      for (auto& [stem, player] : by_stem) list.push_back(std::move(player));
      done(std::move(list));
    }
  };
  auto gathering = std::make_shared<Gathering>();
  gathering->done = std::move(done);
  calls_.call(MprisCalls::bus_method(QStringLiteral("ListNames")), [this, gathering](const QDBusMessage& reply) {
    for (const QString& name : reply.arguments().value(0).toStringList()) {
      const std::string stem = mpris_stem(name.toStdString());
      if (stem.empty()) continue;
      gathering->names[name] = Found{stem, false, MprisPlayer{stem, stem, {}}};
      gathering->waiting += 2;
      QDBusMessage pid = MprisCalls::bus_method(QStringLiteral("GetConnectionUnixProcessID"));
      pid << name;
      calls_.call(pid, [this, gathering, name](const QDBusMessage& answer) {
        auto id = to_int64(answer.arguments().value(0));
        gathering->names[name].own = id && own_player_ && own_player_(*id);
        gathering->finish_one();
      });
      QDBusMessage root = MprisCalls::get_all(name, kMprisRootInterface);
      calls_.call(root, [gathering, name](const QDBusMessage& answer) {
        const QVariantMap properties = to_map(answer.arguments().value(0));
        MprisPlayer& player = gathering->names[name].player;
        const std::string identity = properties.value("Identity").toString().toStdString();
        if (!identity.empty()) player.identity = identity;
        player.desktop_entry = properties.value("DesktopEntry").toString().toStdString();
        gathering->finish_one();
      });
    }
    gathering->finish_one();
  });
}

}  // namespace jukora
