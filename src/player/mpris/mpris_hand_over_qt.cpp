// SPDX-License-Identifier: GPL-3.0-or-later
#include <QDBusArgument>
#include <QDBusObjectPath>
#include <QDBusVariant>
#include <string_view>
#include <utility>

#include "platform/app_folders.h"
#include "platform/files.h"
#include "platform/local_path.h"
#include "player/command_line.h"
#include "player/detached_spawn.h"
#include "player/file_url.h"
#include "player/mpris/mpris_calls.h"
#include "player/mpris/mpris_hand_over.h"
#include "player/mpris/mpris_players.h"
#include "player/mpris/mpris_settings.h"
#include "player/mpris/mpris_watch.h"

namespace jukora {

namespace {

// The name a file goes by at the end of its path, as the user knows it.
std::string file_name_of(const std::string& path) { return path.substr(path.rfind(kPathSeparator) + 1); }

using Clock = std::chrono::steady_clock;
using namespace std::chrono_literals;

// A player started by its command has this long to show up on the bus.
constexpr auto kStartWait = 10s;

const QString kNoTrack = QStringLiteral("/org/mpris/MediaPlayer2/TrackList/NoTrack");

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

MprisHandOver::MprisHandOver(MprisCalls& calls, MprisPlayers& players, const MprisSettings& settings, MprisWatch& watch)
    : calls_(calls), players_(players), settings_(settings), watch_(watch) {}

void MprisHandOver::start() {
  if (!calls_.connected() || players_.chosen() || players_.deciding() || starting(Clock::now())) return;
  auto words = settings_.command_words();
  std::string program = settings_.program();
  if (!words || program.empty()) return;
  std::vector<std::string> arguments(words->begin() + 1, words->end());
  if (spawn_detached(program, arguments)) start_deadline_ = Clock::now() + kStartWait;
  look_soon();
}

void MprisHandOver::player_changed() {
  start_deadline_.reset();
  if (awaited_ && !awaited_->outcome && !queued_) awaited_->outcome = Arrival{Arrival::State::kLost, {}};
}

HandOver MprisHandOver::hand_over(const std::string& path, bool playlist) {
  const DrivenPlayer* player = players_.chosen();
  if (player && player->unresponsive(Clock::now())) return HandOver::busy();
  // However often it is asked for, a song goes out once while it is awaited.
  if (!playlist && awaited_ && awaited_->path == path && !awaited_->outcome &&
      (queued_ || watch_.awaiting(Clock::now())))
    return HandOver::started();
  if (player && player->ready()) return hand_over_now(path, playlist);
  start();
  queued_ = Queued{path, playlist};
  if (playlist)
    awaited_.reset();
  else
    awaited_ = Awaited{path, false, {}};
  return HandOver::started();
}

void MprisHandOver::settle(Time now, const std::function<void(const std::string&)>& tell) {
  const DrivenPlayer* player = players_.chosen();
  if (queued_ && player && player->ready()) {
    Queued queued = std::move(*queued_);
    queued_.reset();
    HandOver given = hand_over_now(queued.path, queued.playlist);
    if (given.result == HandOver::Result::kRefused) {
      if (tell) tell(given.reason);
      // Told already: a cycle waiting for the song only stops.
      if (!queued.playlist) {
        awaited_ = Awaited{queued.path, false, {}};
        missed({}, given.any_song);
      }
    }
  }
  if (start_deadline_ && now >= *start_deadline_) start_deadline_.reset();
  if (queued_ && !player && !start_deadline_ && !players_.deciding()) {
    if (!queued_->playlist && awaited_) missed(not_up_text(settings_.identity(), settings_.command(), false), true);
    // The export has no cycle to end, and would otherwise go unanswered.
    if (queued_->playlist && tell) tell(not_up_text(settings_.identity(), settings_.command(), true));
    queued_.reset();
  }
  judge(now);
}

void MprisHandOver::judge(Time now) {
  if (!awaited_ || awaited_->outcome || queued_) return;
  DrivenPlayer* player = players_.chosen();
  if (!player) {
    if (!starting(now) && !players_.deciding()) awaited_->outcome = Arrival{Arrival::State::kLost, {}};
    return;
  }
  if (watch_.arrived()) {
    awaited_->outcome = Arrival{};
    return;
  }
  // A player left paused may take a song by OpenUri and keep still (mpv
  // keeps its pause across files): it is asked once to play what it holds.
  // (A song given on the command line may still be on its way.)
  if (!awaited_->by_command && !awaited_->play_asked && watch_.holds_awaited(now)) {
    awaited_->play_asked = true;
    calls_.call(MprisCalls::player_method(player->owner, kMprisPlayerInterface, QStringLiteral("Play")),
                [](const QDBusMessage&) {});
  }
  // A player that does not answer cannot be judged yet.
  if (watch_.awaiting(now) || player->unresponsive(now)) return;
  const std::string file = file_name_of(awaited_->path);
  if (!awaited_->by_command && run_with(awaited_->path, false)) {
    // Its OpenUri takes songs and plays nothing: its command from now on.
    player->open_uri_plays = false;
    awaited_->by_command = true;
    watch_.handed_over(awaited_->path, true, now);
    look_soon();
    return;
  }
  if (watch_.plays_unnamed()) return missed(unnamed_play_text(settings_.identity(), file));
  auto words = settings_.command_words();
  missed(not_played_text(settings_.identity(), file, awaited_->by_command,
                         words && !words->empty() ? words->front() : std::string()));
}

HandOver MprisHandOver::hand_over_now(const std::string& path, bool playlist) {
  const auto now = Clock::now();
  const DrivenPlayer& player = *players_.chosen();
  const bool has_command = running_copy_command(path, playlist).has_value();
  std::string first = path;
  if (playlist) {
    awaited_.reset();
    const PlaylistWay way = playlist_way(settings_.name(), player.has_open_uri, player.can_edit_tracks, has_command);
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
        run_with(path, true);
        break;
      case PlaylistWay::kAppendsOnly:
      case PlaylistWay::kNone:
        return HandOver::refused(refused_playlist_text(settings_.identity(), way, path));
    }
  } else {
    awaited_ = Awaited{path, false, {}};
    switch (song_way(player.has_open_uri && player.open_uri_plays, has_command)) {
      case SongWay::kOpenUri:
        open_uri(path);
        break;
      case SongWay::kCommandLine:
        awaited_->by_command = true;
        run_with(path, false);
        break;
      case SongWay::kNone:
        awaited_.reset();
        return HandOver::refused_any(refused_song_text(settings_.identity(), settings_.command()));
    }
  }
  watch_.handed_over(first, !playlist, now);
  look_soon();
  return HandOver::started();
}

void MprisHandOver::open_uri(const std::string& path) {
  const QString owner = players_.chosen()->owner;
  QDBusMessage message = MprisCalls::player_method(owner, kMprisPlayerInterface, QStringLiteral("OpenUri"));
  message << QString::fromStdString(file_url_from_path(path));
  calls_.call(message, [this, owner, path](const QDBusMessage& reply) {
    if (!players_.is_chosen(owner) || reply.type() != QDBusMessage::ErrorMessage) return;
    // Whatever the error (no such method, a stub that raises), OpenUri does
    // not work with this player: its command line, where one is known, is
    // used from now on, for this song at once.
    players_.chosen()->has_open_uri = false;
    watch_.stopped();
    if (awaited_ && awaited_->path == path && !awaited_->outcome && !awaited_->by_command) {
      if (run_with(path, false)) {
        awaited_->by_command = true;
        watch_.handed_over(path, true, Clock::now());
      } else {
        missed(open_uri_error_text(settings_.identity(), settings_.name(), file_name_of(path),
                                   bounded_text(reply.errorName() + ": " + reply.errorMessage())),
               true);
      }
    }
    look_soon();
    on_news();
  });
}

std::optional<std::vector<std::string>> MprisHandOver::running_copy_command(const std::string& path,
                                                                            bool playlist) const {
  auto words = settings_.command_words();
  if (!words) return std::nullopt;
  return jukora::running_copy_command(settings_.name(), *words, path, playlist);
}

bool MprisHandOver::run_with(const std::string& path, bool playlist) {
  auto words = running_copy_command(path, playlist);
  if (!words) return false;
  const std::string program = find_program(words->front(), program_search_path());
  if (program.empty()) return false;
  return spawn_detached(program, std::vector<std::string>(words->begin() + 1, words->end())).has_value();
}

// The old tracks out, then the songs in, each at the front in reverse
// order, the first one last and made current, so that it plays.
void MprisHandOver::replace_track_list(std::vector<std::string> songs) {
  const QString owner = players_.chosen()->owner;
  QDBusMessage message = MprisCalls::player_method(owner, kDBusProperties, QStringLiteral("Get"));
  message << kMprisTrackListInterface << QStringLiteral("Tracks");
  calls_.call(message, [this, owner, songs = std::move(songs)](const QDBusMessage& reply) {
    if (!players_.is_chosen(owner)) return;
    const QVariant value = reply.arguments().value(0).value<QDBusVariant>().variant();
    const auto tracks = value.canConvert<QDBusArgument>()
                            ? qdbus_cast<QList<QDBusObjectPath>>(value.value<QDBusArgument>())
                            : value.value<QList<QDBusObjectPath>>();
    for (const QDBusObjectPath& track : tracks) {
      QDBusMessage remove = MprisCalls::player_method(owner, kMprisTrackListInterface, QStringLiteral("RemoveTrack"));
      remove << QVariant::fromValue(track);
      calls_.call(remove, nullptr);
    }
    for (std::size_t i = songs.size(); i-- > 0;) {
      QDBusMessage add = MprisCalls::player_method(owner, kMprisTrackListInterface, QStringLiteral("AddTrack"));
      add << QString::fromStdString(file_url_from_path(songs[i])) << QVariant::fromValue(QDBusObjectPath(kNoTrack))
          << (i == 0);
      calls_.call(add, nullptr);
    }
  });
}

}  // namespace jukora
