// SPDX-License-Identifier: GPL-3.0-or-later
// The MPRIS link answers the play modes from what the chosen player last
// reported: its PropertiesChanged and Seeked signals and a poll at every
// request feed an MprisWatch, and the program hears of every change in the
// answer, so a cycle moves on without waiting for its next tick.
#include <QTimer>
#include <algorithm>
#include <chrono>
#include <optional>
#include <utility>

#include "platform/app_folders.h"
#include "player/file_url.h"
#include "player/mpris/mpris_calls.h"
#include "player/mpris/mpris_hand_over.h"
#include "player/mpris/mpris_link.h"
#include "player/mpris/mpris_players.h"
#include "player/mpris/mpris_settings.h"
#include "player/mpris/mpris_watch.h"

namespace jukora {

namespace {

using Clock = std::chrono::steady_clock;

// How soon to look again while something is awaited.
constexpr int kLookIntervalMs = 150;

class MprisBusLink : public MprisLink {
 public:
  MprisBusLink(const SettingsStore& settings, const AppFolders& folders, OwnPlayerTest own_player);

  Reach reach() override;
  PlayStatus play_status() override;
  // From what the player last reported, as play_status is.
  PlayPosition play_position() override;
  CurrentSong current_song(const std::string& player_dir) override;
  // Some players (VLC) announce a new song well after they name it: a click
  // waits for a poll sent after it.
  CurrentSong current_song_since(const std::string& player_dir, Clock::time_point asked) override;

  HandOver play_file(const std::string& player_dir, const std::string& song_path) override;
  Arrival arrival() override;
  HandOver play_playlist(const std::string& player_dir) override;
  std::string playlist_path(const std::string&) const override { return playlist_; }
  void stop() override;
  // Runs the command that starts the player, unless it runs or is coming up.
  void start(const std::string&) override { hand_over_.start(); }

  std::string missing_program(const std::string& player_dir) const override;
  PlayerTexts texts() const override;

  std::string unavailable() const override;
  void list_players(std::function<void(std::vector<MprisPlayer>)> done) override {
    players_.list_players(std::move(done));
  }

 private:
  // What the link would answer now; the program hears of every change.
  struct Answer {
    bool busy = false;
    bool running = false;
    PlayStatus status = PlayStatus::kStopped;
    std::string song;
    Arrival::State arrival = Arrival::State::kPlays;
    bool operator==(const Answer&) const = default;
  };

  // The player the settings name now; what was learned of another is forgotten.
  void choose_player();
  // Whether the link must answer "busy": the player is coming up, being
  // looked at for the first time, or does not answer.
  bool busy(Clock::time_point now);
  bool running() { return players_.chosen() != nullptr; }
  // One look at the player per request keeps what it reported fresh, also
  // where it sends no signals.
  void refresh();
  void poll();
  void properties_changed(const QDBusMessage& message);
  void seeked(const QDBusMessage& message);
  // A report of the player's: a poll's reply (`whole`, as of when the poll
  // was sent) or a signal (as of now).
  void apply(const QVariantMap& properties, bool whole, std::optional<Clock::time_point> as_of = std::nullopt);
  void look_soon();
  // After every reply and signal: a hand-over that waited for the player
  // goes out once it is ready; a look is planned while something is
  // awaited; and the program hears of any change in what the link would
  // answer.
  void settle();

  const std::string playlist_;
  // When the poll the player last answered was sent, and the moment a click
  // waits for a poll sent since.
  std::optional<Clock::time_point> read_at_, wanted_since_;
  MprisCalls calls_;
  MprisSettings settings_;
  MprisWatch watch_;
  MprisPlayers players_;
  MprisHandOver hand_over_;
  QTimer look_timer_;
  Answer last_answer_;
};

MprisBusLink::MprisBusLink(const SettingsStore& settings, const AppFolders& folders, OwnPlayerTest own_player)
    : playlist_(join_path(folders.data, "winamp.m3u")),
      settings_(settings),
      players_(calls_, settings_, std::move(own_player)),
      hand_over_(calls_, players_, settings_, watch_) {
  players_.on_news = [this] { settle(); };
  hand_over_.on_news = [this] { settle(); };
  hand_over_.look_soon = [this] { look_soon(); };
  look_timer_.setSingleShot(true);
  look_timer_.setInterval(kLookIntervalMs);
  QObject::connect(&look_timer_, &QTimer::timeout, &look_timer_, [this] {
    poll();
    settle();
  });
  if (!calls_.connected()) return;
  calls_.listen(QString(), kMprisObjectPath, kDBusProperties, QStringLiteral("PropertiesChanged"),
                [this](const QDBusMessage& message) { properties_changed(message); });
  calls_.listen(QString(), kMprisObjectPath, kMprisPlayerInterface, QStringLiteral("Seeked"),
                [this](const QDBusMessage& message) { seeked(message); });
}

void MprisBusLink::choose_player() {
  switch (players_.choose()) {
    case MprisPlayers::Choice::kSame:
      return;
    case MprisPlayers::Choice::kGone:
      watch_.clear();
      read_at_.reset();
      return;
    case MprisPlayers::Choice::kNew:
      watch_.clear();
      read_at_.reset();
      hand_over_.player_changed();
      poll();
      return;
  }
}

bool MprisBusLink::busy(Clock::time_point now) {
  choose_player();
  const DrivenPlayer* player = players_.chosen();
  if (!player) return players_.deciding() || hand_over_.starting(now);
  return !player->ready() || player->unresponsive(now);
}

void MprisBusLink::refresh() {
  choose_player();
  poll();
}

void MprisBusLink::poll() {
  DrivenPlayer* player = players_.chosen();
  if (!player || player->polling) return;
  player->polling = true;
  const auto sent = player->poll_sent = Clock::now();
  const QString owner = player->owner;
  calls_.call(MprisCalls::get_all(owner, kMprisPlayerInterface), [this, owner, sent](const QDBusMessage& reply) {
    if (!players_.is_chosen(owner)) return;
    DrivenPlayer& answered = *players_.chosen();
    answered.polling = false;
    if (reply.type() == QDBusMessage::ErrorMessage) {
      answered.silent = true;
      return;
    }
    answered.silent = false;
    answered.polled = true;
    apply(to_map(reply.arguments().value(0)), true, sent);
    read_at_ = sent;
    if (!wanted_since_) return;
    // A poll that went out before the click tells nothing of it: once more.
    if (sent < *wanted_since_) return poll();
    wanted_since_.reset();
    changed();
  });
}

void MprisBusLink::properties_changed(const QDBusMessage& message) {
  const DrivenPlayer* player = players_.chosen();
  if (!player || message.service() != player->owner) return;
  const QString interface_name = message.arguments().value(0).toString();
  if (interface_name != kMprisPlayerInterface) return;
  apply(to_map(message.arguments().value(1)), false);
  // A signal tells what changed, not where the track is now.
  look_soon();
  settle();
}

void MprisBusLink::seeked(const QDBusMessage& message) {
  const DrivenPlayer* player = players_.chosen();
  if (!player || message.service() != player->owner) return;
  if (auto position = to_int64(message.arguments().value(0))) {
    watch_.set_position(*position, Clock::now(), true);
    // Audacious announces a seek to 0 as each track begins, before it names
    // the new one: passed on, it would take the play that is ending back to
    // its start. A jump to the very start is seen by the position anyway.
    if (on_seeked && *position > 0)
      on_seeked(std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::microseconds(*position)));
  }
  settle();
}

void MprisBusLink::apply(const QVariantMap& properties, bool whole, std::optional<Clock::time_point> as_of) {
  const auto now = Clock::now();
  // Every text is cut to what it can be before it is converted: a player
  // may send megabytes, and each report is looked at many times.
  if (properties.contains("PlaybackStatus"))
    watch_.set_status(properties.value("PlaybackStatus").toString().left(16).toStdString(), now, as_of);
  if (properties.contains("Metadata")) {
    const QVariantMap metadata = to_map(properties.value("Metadata"));
    std::optional<std::string> url;
    // One character past the longest file URL still tells that it is too long.
    if (metadata.contains("xesam:url"))
      url = metadata.value("xesam:url").toString().left(static_cast<qsizetype>(kLongestFileUrl) + 1).toStdString();
    if (url && url->empty()) url.reset();
    watch_.set_track(url, to_int64(metadata.value("mpris:length")), now, as_of);
  }
  if (auto position = properties.contains("Position") ? to_int64(properties.value("Position")) : std::nullopt) {
    watch_.set_position(*position, now);
  } else if (whole) {
    watch_.no_position();
  }
}

void MprisBusLink::look_soon() {
  if (!look_timer_.isActive()) look_timer_.start();
}

void MprisBusLink::settle() {
  const auto now = Clock::now();
  choose_player();
  hand_over_.settle(now, tell);
  const DrivenPlayer* player = players_.chosen();
  if (watch_.wants_look(now) || hand_over_.waiting() || (player && !player->ready())) look_soon();

  const bool is_busy = busy(now);
  Answer answer{is_busy, running(), is_busy ? PlayStatus::kBusy : watch_.status(now), {}, hand_over_.arrival().state};
  if (!is_busy && running()) {
    CurrentSong current = watch_.song(now);
    answer.song = current.kind == CurrentSong::Kind::kSong ? current.path : std::string();
  }
  if (answer != last_answer_) {
    last_answer_ = answer;
    changed();
  }
}

Reach MprisBusLink::reach() {
  if (!calls_.connected()) return Reach::kNotRunning;
  refresh();
  if (busy(Clock::now())) return Reach::kBusy;
  return running() ? Reach::kRunning : Reach::kNotRunning;
}

PlayStatus MprisBusLink::play_status() {
  const auto now = Clock::now();
  if (busy(now)) return PlayStatus::kBusy;
  return running() ? watch_.status(now) : PlayStatus::kStopped;
}

PlayPosition MprisBusLink::play_position() {
  if (!calls_.connected()) return {};
  refresh();
  const auto now = Clock::now();
  // Between two tracks it is where neither is: ask again.
  if (busy(now) || watch_.at_track_start(now)) return {};
  if (!running()) return {PlayStatus::kStopped};
  return {watch_.status(now), watch_.position(now), watch_.length()};
}

CurrentSong MprisBusLink::current_song(const std::string&) {
  if (!calls_.connected()) return CurrentSong::not_running(no_session_bus_text(settings_.identity()));
  refresh();
  const auto now = Clock::now();
  if (busy(now)) return CurrentSong::busy();
  if (!running()) return CurrentSong::not_running(texts().not_running);
  return watch_.song(now);
}

CurrentSong MprisBusLink::current_song_since(const std::string& player_dir, Clock::time_point asked) {
  if (!calls_.connected()) return current_song(player_dir);
  choose_player();
  const DrivenPlayer* player = players_.chosen();
  if (!player || busy(Clock::now()) || (read_at_ && *read_at_ >= asked)) return current_song(player_dir);
  wanted_since_ = std::max(wanted_since_.value_or(asked), asked);
  poll();
  return CurrentSong::busy();
}

HandOver MprisBusLink::play_file(const std::string&, const std::string& song_path) {
  if (!calls_.connected()) return HandOver::refused(no_session_bus_text(settings_.identity()));
  choose_player();
  return hand_over_.hand_over(song_path, false);
}

Arrival MprisBusLink::arrival() {
  choose_player();
  hand_over_.settle(Clock::now(), tell);
  return hand_over_.arrival();
}

HandOver MprisBusLink::play_playlist(const std::string&) {
  if (!calls_.connected()) return HandOver::refused(no_session_bus_text(settings_.identity()));
  choose_player();
  return hand_over_.hand_over(playlist_, true);
}

void MprisBusLink::stop() {
  hand_over_.forget();
  watch_.told_to_stop(Clock::now());
  if (const DrivenPlayer* player = players_.chosen())
    calls_.call(MprisCalls::player_method(player->owner, kMprisPlayerInterface, QStringLiteral("Stop")), nullptr);
}

std::string MprisBusLink::missing_program(const std::string&) const {
  const std::string identity = settings_.identity();
  if (!calls_.connected()) return no_session_bus_text(identity);
  if (settings_.name().empty()) return "No desktop player is chosen.  Pick one in Preferences.";
  if (!settings_.command_words())
    return "The command that starts " + identity + " has a quote that is not closed.  Check it in Preferences.";
  return settings_.program().empty() ? texts().executable_not_found : std::string();
}

PlayerTexts MprisBusLink::texts() const {
  auto words = settings_.command_words();
  return mpris_texts(settings_.identity(), words && !words->empty() ? words->front() : std::string());
}

std::string MprisBusLink::unavailable() const {
  return calls_.connected() ? std::string()
                            : "There is no D-Bus session bus here, so desktop players cannot be reached.  "
                              "mpv (built in) works without it.";
}

}  // namespace

std::unique_ptr<MprisLink> make_mpris_link(const SettingsStore& settings, const AppFolders& folders,
                                           MprisLink::OwnPlayerTest own_player) {
  return std::make_unique<MprisBusLink>(settings, folders, std::move(own_player));
}

}  // namespace jukora
