// SPDX-License-Identifier: GPL-3.0-or-later
// QtDBus carries the MPRIS link: the Qt the program is built with has it, so
// it adds no dependency, and its asynchronous calls and signals arrive on the
// event loop the program already runs.
#include <QDBusArgument>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusObjectPath>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QObject>
#include <QTimer>
#include <chrono>
#include <map>
#include <memory>
#include <optional>
#include <utility>

#include "platform/files.h"
#include "platform/settings_keys.h"
#include "player/command_line.h"
#include "player/detached_spawn.h"
#include "player/file_url.h"
#include "player/mpris/mpris_link.h"
#include "player/mpris/mpris_watch.h"
#include "songlist/paths.h"

namespace jukora {

namespace {

using Clock = std::chrono::steady_clock;
using namespace std::chrono_literals;

const QString kObjectPath = QStringLiteral("/org/mpris/MediaPlayer2");
const QString kRootInterface = QStringLiteral("org.mpris.MediaPlayer2");
const QString kPlayerInterface = QStringLiteral("org.mpris.MediaPlayer2.Player");
const QString kTrackListInterface = QStringLiteral("org.mpris.MediaPlayer2.TrackList");
const QString kProperties = QStringLiteral("org.freedesktop.DBus.Properties");
const QString kBusService = QStringLiteral("org.freedesktop.DBus");
const QString kNoTrack = QStringLiteral("/org/mpris/MediaPlayer2/TrackList/NoTrack");

// Every call gives up after this; a player that has not answered a poll
// within kAnswerWithin already counts as busy.
constexpr int kCallTimeoutMs = 2000;
constexpr auto kAnswerWithin = 1s;
// A player started by its command has this long to show up on the bus.
constexpr auto kStartWait = 10s;
// How soon to look again while something is awaited.
constexpr int kLookIntervalMs = 150;

QVariantMap to_map(const QVariant& value) {
  if (value.canConvert<QDBusArgument>()) return qdbus_cast<QVariantMap>(value.value<QDBusArgument>());
  return value.toMap();
}

std::optional<std::int64_t> to_int64(const QVariant& value) {
  bool ok = false;
  qlonglong number = value.toLongLong(&ok);
  return ok ? std::optional<std::int64_t>(number) : std::nullopt;
}

// The entries of a playlist file the player is to play, in order.
std::vector<std::string> playlist_songs(const std::string& path) {
  std::string bytes;
  std::vector<std::string> songs;
  if (read_whole_file(path, bytes) != ReadResult::kOk) return songs;
  std::string_view text = bytes;
  while (!text.empty()) {
    auto end = text.find('\n');
    std::string_view line = text.substr(0, end);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    if (is_local_file_path(line)) songs.emplace_back(line);
    if (end == std::string_view::npos) break;
    text.remove_prefix(end + 1);
  }
  return songs;
}

}  // namespace

class MprisBus : public QObject {
  Q_OBJECT

 public:
  MprisBus(MprisLink& link, const SettingsStore& settings, const AppFolders& folders,
           MprisLink::OwnPlayerTest own_player)
      : link_(link),
        settings_(settings),
        playlist_(join_path(folders.data, "winamp.m3u")),
        own_player_(std::move(own_player)),
        bus_(QDBusConnection::sessionBus()) {
    look_timer_.setSingleShot(true);
    look_timer_.setInterval(kLookIntervalMs);
    connect(&look_timer_, &QTimer::timeout, this, [this] {
      poll();
      settle();
    });
    if (!bus_.isConnected()) return;
    bus_.connect(kBusService, QStringLiteral("/org/freedesktop/DBus"), kBusService, QStringLiteral("NameOwnerChanged"),
                 this, SLOT(name_owner_changed(QString, QString, QString)));
    bus_.connect(QString(), kObjectPath, kProperties, QStringLiteral("PropertiesChanged"), this,
                 SLOT(properties_changed(QDBusMessage)));
    bus_.connect(QString(), kObjectPath, kPlayerInterface, QStringLiteral("Seeked"), this, SLOT(seeked(QDBusMessage)));
    call(bus_method(QStringLiteral("ListNames")), [this](const QDBusMessage& reply) {
      for (const QString& name : reply.arguments().value(0).toStringList())
        if (name.startsWith(QLatin1String(kMprisPrefix.data()))) learn_owner(name);
    });
  }

  bool connected() const { return bus_.isConnected(); }

  std::string stem() const { return settings_.GetSetting(sections::kPlayer, keys::kMprisBusName, ""); }
  std::string command() const { return settings_.GetSetting(sections::kPlayer, keys::kMprisCommand, ""); }
  std::string identity() const {
    std::string stored = settings_.GetSetting(sections::kPlayer, keys::kMprisIdentity, "");
    if (!stored.empty()) return stored;
    std::string name = stem();
    return name.empty() ? "the MPRIS player" : name;
  }
  std::optional<std::vector<std::string>> command_words() const { return split_command(command()); }
  std::string program() const {
    auto words = command_words();
    return words && !words->empty() ? find_program(words->front(), program_search_path()) : std::string();
  }
  const std::string& playlist() const { return playlist_; }

  // Whether the link must answer "busy": the player is coming up, being
  // looked at for the first time, or does not answer.
  bool busy(Clock::time_point now) {
    choose_player();
    if (!player_) return deciding() || (start_deadline_ && now < *start_deadline_);
    return !player_->ready() || unresponsive(now);
  }
  bool running() const { return player_.has_value(); }

  // One look at the player per request keeps what it reported fresh, also
  // where it sends no signals.
  void refresh() {
    choose_player();
    poll();
  }

  void poll() {
    if (!player_ || player_->polling) return;
    player_->polling = true;
    player_->poll_sent = Clock::now();
    const QString owner = player_->owner;
    call(get_all(kPlayerInterface), [this, owner](const QDBusMessage& reply) {
      if (!is_player(owner)) return;
      player_->polling = false;
      if (reply.type() == QDBusMessage::ErrorMessage) {
        player_->silent = true;
        return;
      }
      player_->silent = false;
      player_->polled = true;
      apply(to_map(reply.arguments().value(0)), true);
    });
  }

  PlayStatus status(Clock::time_point now) { return watch_.status(now); }
  CurrentSong song(Clock::time_point now) { return watch_.song(now); }

  void start() {
    if (!connected() || player_ || deciding() || (start_deadline_ && Clock::now() < *start_deadline_)) return;
    auto words = command_words();
    std::string program = this->program();
    if (!words || program.empty()) return;
    std::vector<std::string> arguments(words->begin() + 1, words->end());
    if (spawn_detached(program, arguments)) start_deadline_ = Clock::now() + kStartWait;
    look_soon();
  }

  void stop() {
    queued_.reset();
    watch_.stopped();
    if (player_) call(player_method(kPlayerInterface, QStringLiteral("Stop")), nullptr);
  }

  // A song (or with `playlist` the playlist file) for the player: handed
  // over now, or once the player that is coming up is ready.
  HandOver hand_over(const std::string& path, bool playlist) {
    if (!connected()) return HandOver::refused(no_session_bus_text(identity()));
    choose_player();
    if (player_ && unresponsive(Clock::now())) return HandOver::busy();
    if (player_ && player_->ready()) return hand_over_now(path, playlist);
    start();
    queued_ = Queued{path, playlist};
    return HandOver::started();
  }

  void list_players(std::function<void(std::vector<MprisPlayer>)> done);

 private slots:
  void name_owner_changed(const QString& name, const QString&, const QString& owner) {
    if (!name.startsWith(QLatin1String(kMprisPrefix.data()))) return;
    if (owner.isEmpty()) {
      names_.erase(name);
    } else {
      names_[name] = BusName{owner, std::nullopt};
      check_own(name);
    }
    settle();
  }

  void properties_changed(const QDBusMessage& message) {
    if (!player_ || message.service() != player_->owner) return;
    const QString interface_name = message.arguments().value(0).toString();
    if (interface_name != kPlayerInterface) return;
    apply(to_map(message.arguments().value(1)), false);
    // A signal tells what changed, not where the track is now.
    look_soon();
    settle();
  }

  void seeked(const QDBusMessage& message) {
    if (!player_ || message.service() != player_->owner) return;
    if (auto position = to_int64(message.arguments().value(0))) watch_.set_position(*position, Clock::now(), true);
    settle();
  }

 private:
  struct BusName {
    QString owner;
    std::optional<bool> own;  // nothing until its process has been checked
  };
  // The player being driven, from the moment its bus name was chosen.
  struct Player {
    QString name, owner;
    bool polled = false;  // its first poll came back
    int pending_facts = 0;
    bool has_open_uri = true;
    bool can_edit_tracks = false;
    bool polling = false;
    Clock::time_point poll_sent{};
    bool silent = false;  // a call ran out of time; busy until it answers again
    bool ready() const { return polled && pending_facts == 0; }
  };
  struct Queued {
    std::string path;
    bool playlist;
  };
  // What the link would answer now; the program hears of every change.
  struct Answer {
    bool busy = false;
    bool running = false;
    PlayStatus status = PlayStatus::kStopped;
    std::string song;
    bool operator==(const Answer&) const = default;
  };
  using ReplyHandler = std::function<void(const QDBusMessage&)>;

  QDBusMessage bus_method(const QString& method) const {
    return QDBusMessage::createMethodCall(kBusService, QStringLiteral("/org/freedesktop/DBus"), kBusService, method);
  }
  QDBusMessage player_method(const QString& interface_name, const QString& method) const {
    return QDBusMessage::createMethodCall(player_->owner, kObjectPath, interface_name, method);
  }
  QDBusMessage get_all(const QString& interface_name) const {
    QDBusMessage message = player_method(kProperties, QStringLiteral("GetAll"));
    message << interface_name;
    return message;
  }

  // Sends without waiting; `handler`, if any, runs with the reply or the
  // error (a timeout included) on a later turn of the event loop.
  void call(const QDBusMessage& message, ReplyHandler handler) {
    QDBusPendingCall pending = bus_.asyncCall(message, kCallTimeoutMs);
    if (!handler) return;
    auto* watcher = new QDBusPendingCallWatcher(pending, this);
    connect(watcher, &QDBusPendingCallWatcher::finished, this,
            [handler = std::move(handler)](QDBusPendingCallWatcher* finished) {
              finished->deleteLater();
              handler(finished->reply());
            });
  }

  bool is_player(const QString& owner) const { return player_ && player_->owner == owner; }

  bool unresponsive(Clock::time_point now) const {
    return player_->silent || (player_->polling && now - player_->poll_sent > kAnswerWithin);
  }

  void learn_owner(const QString& name) {
    QDBusMessage message = bus_method(QStringLiteral("GetNameOwner"));
    message << name;
    call(message, [this, name](const QDBusMessage& reply) {
      if (reply.type() == QDBusMessage::ErrorMessage || names_.count(name)) return;
      names_[name] = BusName{reply.arguments().value(0).toString(), std::nullopt};
      check_own(name);
    });
  }

  void check_own(const QString& name) {
    const QString owner = names_[name].owner;
    QDBusMessage message = bus_method(QStringLiteral("GetConnectionUnixProcessID"));
    message << owner;
    call(message, [this, name, owner](const QDBusMessage& reply) {
      auto found = names_.find(name);
      if (found == names_.end() || found->second.owner != owner) return;
      auto pid = to_int64(reply.arguments().value(0));
      found->second.own = reply.type() != QDBusMessage::ErrorMessage && pid && own_player_ && own_player_(*pid);
      settle();
    });
  }

  // Whether a name of the chosen stem is still being looked at.
  bool deciding() const {
    const std::string wanted = stem();
    for (const auto& [name, entry] : names_)
      if (is_player_of_stem(name.toStdString(), wanted) && !entry.own) return true;
    return false;
  }

  // The bus name of the chosen player: the stem itself before any name with
  // an instance suffix, never the program's own mpv.
  void choose_player() {
    const std::string wanted = stem();
    const std::string exact = std::string(kMprisPrefix) + wanted;
    const std::pair<const QString, BusName>* best = nullptr;
    for (const auto& entry : names_) {
      const std::string name = entry.first.toStdString();
      if (!is_player_of_stem(name, wanted) || entry.second.own != false) continue;
      if (!best || name == exact) best = &entry;
      if (name == exact) break;
    }
    if (!best) {
      if (player_) {
        player_.reset();
        watch_.clear();
      }
      return;
    }
    if (player_ && player_->name == best->first && player_->owner == best->second.owner) return;
    player_ = Player{best->first, best->second.owner};
    watch_.clear();
    start_deadline_.reset();
    learn_facts();
    poll();
  }

  // What the player offers: OpenUri, and a TrackList it lets us edit.
  void learn_facts() {
    const QString owner = player_->owner;
    ++player_->pending_facts;
    call(QDBusMessage::createMethodCall(owner, kObjectPath, QStringLiteral("org.freedesktop.DBus.Introspectable"),
                                        QStringLiteral("Introspect")),
         [this, owner](const QDBusMessage& reply) {
           if (!is_player(owner)) return;
           const std::string xml = reply.arguments().value(0).toString().toStdString();
           // MPRIS asks every player for OpenUri: one that does not describe
           // itself is taken at its word.
           player_->has_open_uri = introspection_offers(xml, kPlayerInterface.toStdString(), "OpenUri").value_or(true);
           if (introspection_offers(xml, kTrackListInterface.toStdString(), "AddTrack").value_or(false)) {
             ++player_->pending_facts;
             call(get_all(kTrackListInterface), [this, owner](const QDBusMessage& tracks) {
               if (!is_player(owner)) return;
               player_->can_edit_tracks = to_map(tracks.arguments().value(0)).value("CanEditTracks").toBool();
               --player_->pending_facts;
               settle();
             });
           }
           --player_->pending_facts;
           settle();
         });
  }

  void apply(const QVariantMap& properties, bool whole) {
    const auto now = Clock::now();
    if (properties.contains("PlaybackStatus"))
      watch_.set_status(properties.value("PlaybackStatus").toString().toStdString(), now);
    if (properties.contains("Metadata")) {
      const QVariantMap metadata = to_map(properties.value("Metadata"));
      std::optional<std::string> url;
      if (metadata.contains("xesam:url")) url = metadata.value("xesam:url").toString().toStdString();
      if (url && url->empty()) url.reset();
      watch_.set_track(url, to_int64(metadata.value("mpris:length")), now);
    }
    if (auto position = properties.contains("Position") ? to_int64(properties.value("Position")) : std::nullopt) {
      watch_.set_position(*position, now);
    } else if (whole) {
      watch_.no_position();
    }
  }

  HandOver hand_over_now(const std::string& path, bool playlist) {
    const auto now = Clock::now();
    auto words = command_words();
    const bool passes_files = words && !words->empty() && passes_files_to_running_copy(words->front());
    std::string first = path;
    if (playlist) {
      const PlaylistWay way = playlist_way(stem(), player_->has_open_uri, player_->can_edit_tracks, passes_files);
      std::vector<std::string> songs = playlist_songs(path);
      if (songs.empty()) return HandOver::started();
      first = songs.front();
      switch (way) {
        case PlaylistWay::kOpenUri:
          open_uri(path);
          break;
        case PlaylistWay::kTrackList:
          replace_track_list(std::move(songs));
          break;
        case PlaylistWay::kCommandLine:
          run_with(path);
          break;
        case PlaylistWay::kAppendsOnly:
        case PlaylistWay::kNone:
          return HandOver::refused(refused_playlist_text(identity(), way, path));
      }
    } else {
      switch (song_way(player_->has_open_uri, passes_files)) {
        case SongWay::kOpenUri:
          open_uri(path);
          break;
        case SongWay::kCommandLine:
          run_with(path);
          break;
        case SongWay::kNone:
          return HandOver::refused(refused_song_text(identity(), command()));
      }
    }
    watch_.handed_over(first, !playlist, now);
    look_soon();
    return HandOver::started();
  }

  void open_uri(const std::string& path) {
    QDBusMessage message = player_method(kPlayerInterface, QStringLiteral("OpenUri"));
    message << QString::fromStdString(file_url_from_path(path));
    const QString owner = player_->owner;
    call(message, [this, owner](const QDBusMessage& reply) {
      if (!is_player(owner) || reply.type() != QDBusMessage::ErrorMessage) return;
      // Nothing is coming: the cycle goes on at once. A player that lacks
      // the method after all gets its command line from now on.
      if (reply.errorName() == QLatin1String("org.freedesktop.DBus.Error.UnknownMethod")) player_->has_open_uri = false;
      watch_.stopped();
      settle();
    });
  }

  // The player's own command with one more argument: never through a shell,
  // and the path is absolute, so it is never read as an option.
  void run_with(const std::string& path) {
    auto words = command_words();
    std::string program = this->program();
    if (!words || program.empty()) return;
    std::vector<std::string> arguments(words->begin() + 1, words->end());
    arguments.push_back(path);
    spawn_detached(program, arguments);
  }

  // The old tracks out, then the songs in, each at the front in reverse
  // order, the first one last and made current, so that it plays.
  void replace_track_list(std::vector<std::string> songs) {
    QDBusMessage message = player_method(kProperties, QStringLiteral("Get"));
    message << kTrackListInterface << QStringLiteral("Tracks");
    const QString owner = player_->owner;
    call(message, [this, owner, songs = std::move(songs)](const QDBusMessage& reply) {
      if (!is_player(owner)) return;
      const QVariant value = reply.arguments().value(0).value<QDBusVariant>().variant();
      const auto tracks = value.canConvert<QDBusArgument>()
                              ? qdbus_cast<QList<QDBusObjectPath>>(value.value<QDBusArgument>())
                              : value.value<QList<QDBusObjectPath>>();
      for (const QDBusObjectPath& track : tracks) {
        QDBusMessage remove = player_method(kTrackListInterface, QStringLiteral("RemoveTrack"));
        remove << QVariant::fromValue(track);
        call(remove, nullptr);
      }
      for (std::size_t i = songs.size(); i-- > 0;) {
        QDBusMessage add = player_method(kTrackListInterface, QStringLiteral("AddTrack"));
        add << QString::fromStdString(file_url_from_path(songs[i])) << QVariant::fromValue(QDBusObjectPath(kNoTrack))
            << (i == 0);
        call(add, nullptr);
      }
    });
  }

  void look_soon() {
    if (!look_timer_.isActive()) look_timer_.start();
  }

  // After every reply and signal: a hand-over that waited for the player
  // goes out once it is ready; a look is planned while something is awaited;
  // and the program hears of any change in what the link would answer.
  void settle() {
    const auto now = Clock::now();
    choose_player();
    if (queued_ && player_ && player_->ready()) {
      Queued queued = std::move(*queued_);
      queued_.reset();
      HandOver given = hand_over_now(queued.path, queued.playlist);
      if (given.result == HandOver::Result::kRefused && link_.tell) link_.tell(given.reason);
    }
    if (start_deadline_ && now >= *start_deadline_) start_deadline_.reset();
    if (queued_ && !player_ && !start_deadline_ && !deciding()) queued_.reset();
    if (watch_.wants_look(now) || queued_ || start_deadline_ || (player_ && !player_->ready())) look_soon();

    const bool is_busy = busy(now);
    Answer answer{is_busy, running(), is_busy ? PlayStatus::kBusy : status(now), {}};
    if (!is_busy && running()) {
      CurrentSong current = song(now);
      answer.song = current.kind == CurrentSong::Kind::kSong ? current.path : std::string();
    }
    if (answer != last_answer_) {
      last_answer_ = answer;
      link_.changed();
    }
  }

  MprisLink& link_;
  const SettingsStore& settings_;
  const std::string playlist_;
  MprisLink::OwnPlayerTest own_player_;
  QDBusConnection bus_;
  std::map<QString, BusName> names_;
  std::optional<Player> player_;
  MprisWatch watch_;
  std::optional<Clock::time_point> start_deadline_;
  std::optional<Queued> queued_;
  QTimer look_timer_;
  Answer last_answer_;
};

void MprisBus::list_players(std::function<void(std::vector<MprisPlayer>)> done) {
  if (!connected()) {
    QTimer::singleShot(0, this, [done = std::move(done)] { done({}); });
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
  call(bus_method(QStringLiteral("ListNames")), [this, gathering](const QDBusMessage& reply) {
    for (const QString& name : reply.arguments().value(0).toStringList()) {
      const std::string stem = mpris_stem(name.toStdString());
      if (stem.empty()) continue;
      gathering->names[name] = Found{stem, false, MprisPlayer{stem, stem, {}}};
      gathering->waiting += 2;
      QDBusMessage pid = bus_method(QStringLiteral("GetConnectionUnixProcessID"));
      pid << name;
      call(pid, [this, gathering, name](const QDBusMessage& answer) {
        auto id = to_int64(answer.arguments().value(0));
        gathering->names[name].own = id && own_player_ && own_player_(*id);
        gathering->finish_one();
      });
      QDBusMessage root = QDBusMessage::createMethodCall(name, kObjectPath, kProperties, QStringLiteral("GetAll"));
      root << kRootInterface;
      call(root, [gathering, name](const QDBusMessage& answer) {
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

MprisLink::MprisLink(const SettingsStore& settings, const AppFolders& folders, OwnPlayerTest own_player)
    : bus_(std::make_unique<MprisBus>(*this, settings, folders, std::move(own_player))) {}

MprisLink::~MprisLink() = default;

Reach MprisLink::reach() {
  if (!bus_->connected()) return Reach::kNotRunning;
  bus_->refresh();
  if (bus_->busy(Clock::now())) return Reach::kBusy;
  return bus_->running() ? Reach::kRunning : Reach::kNotRunning;
}

PlayStatus MprisLink::play_status() {
  const auto now = Clock::now();
  if (bus_->busy(now)) return PlayStatus::kBusy;
  return bus_->running() ? bus_->status(now) : PlayStatus::kStopped;
}

void MprisLink::stop() { bus_->stop(); }

void MprisLink::start(const std::string&) { bus_->start(); }

HandOver MprisLink::play_file(const std::string&, const std::string& song_path) {
  return bus_->hand_over(song_path, false);
}

HandOver MprisLink::play_playlist(const std::string&) { return bus_->hand_over(bus_->playlist(), true); }

std::string MprisLink::playlist_path(const std::string&) const { return bus_->playlist(); }

CurrentSong MprisLink::current_song(const std::string&) {
  if (!bus_->connected()) return CurrentSong::not_running(no_session_bus_text(bus_->identity()));
  bus_->refresh();
  const auto now = Clock::now();
  if (bus_->busy(now)) return CurrentSong::busy();
  if (!bus_->running()) return CurrentSong::not_running(texts().not_running);
  return bus_->song(now);
}

std::string MprisLink::missing_program(const std::string&) const {
  const std::string identity = bus_->identity();
  if (!bus_->connected()) return no_session_bus_text(identity);
  if (bus_->stem().empty()) return "No desktop player is chosen.  Pick one in Preferences.";
  if (!bus_->command_words())
    return "The command that starts " + identity + " has a quote that is not closed.  Check it in Preferences.";
  return bus_->program().empty() ? texts().executable_not_found : std::string();
}

PlayerTexts MprisLink::texts() const {
  auto words = bus_->command_words();
  return mpris_texts(bus_->identity(), words && !words->empty() ? words->front() : std::string());
}

std::string MprisLink::unavailable() const {
  return bus_->connected() ? std::string()
                           : "There is no D-Bus session bus here, so desktop players cannot be reached.  "
                             "mpv (built in) works without it.";
}

void MprisLink::list_players(std::function<void(std::vector<MprisPlayer>)> done) {
  bus_->list_players(std::move(done));
}

}  // namespace jukora

#include "mpris_link_qt.moc"
