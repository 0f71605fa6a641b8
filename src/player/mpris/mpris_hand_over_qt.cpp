// SPDX-License-Identifier: GPL-3.0-or-later
#include <QDBusArgument>
#include <QDBusObjectPath>
#include <QDBusVariant>
#include <string_view>
#include <utility>

#include "platform/files.h"
#include "player/detached_spawn.h"
#include "player/file_url.h"
#include "player/mpris/mpris_calls.h"
#include "player/mpris/mpris_hand_over.h"
#include "player/mpris/mpris_players.h"
#include "player/mpris/mpris_settings.h"
#include "player/mpris/mpris_watch.h"
#include "songlist/paths.h"

namespace jukora {

namespace {

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

HandOver MprisHandOver::hand_over(const std::string& path, bool playlist) {
  const DrivenPlayer* player = players_.chosen();
  if (player && player->unresponsive(Clock::now())) return HandOver::busy();
  if (player && player->ready()) return hand_over_now(path, playlist);
  start();
  queued_ = Queued{path, playlist};
  return HandOver::started();
}

void MprisHandOver::settle(Time now, const std::function<void(const std::string&)>& tell) {
  const DrivenPlayer* player = players_.chosen();
  if (queued_ && player && player->ready()) {
    Queued queued = std::move(*queued_);
    queued_.reset();
    HandOver given = hand_over_now(queued.path, queued.playlist);
    if (given.result == HandOver::Result::kRefused && tell) tell(given.reason);
  }
  if (start_deadline_ && now >= *start_deadline_) start_deadline_.reset();
  if (queued_ && !player && !start_deadline_ && !players_.deciding()) queued_.reset();
}

HandOver MprisHandOver::hand_over_now(const std::string& path, bool playlist) {
  const auto now = Clock::now();
  const DrivenPlayer& player = *players_.chosen();
  auto words = settings_.command_words();
  const bool passes_files = words && !words->empty() && passes_files_to_running_copy(words->front());
  std::string first = path;
  if (playlist) {
    const PlaylistWay way = playlist_way(settings_.stem(), player.has_open_uri, player.can_edit_tracks, passes_files);
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
        return HandOver::refused(refused_playlist_text(settings_.identity(), way, path));
    }
  } else {
    switch (song_way(player.has_open_uri, passes_files)) {
      case SongWay::kOpenUri:
        open_uri(path);
        break;
      case SongWay::kCommandLine:
        run_with(path);
        break;
      case SongWay::kNone:
        return HandOver::refused(refused_song_text(settings_.identity(), settings_.command()));
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
  calls_.call(message, [this, owner](const QDBusMessage& reply) {
    if (!players_.is_chosen(owner) || reply.type() != QDBusMessage::ErrorMessage) return;
    // Nothing is coming: the cycle goes on at once. A player that lacks
    // the method after all gets its command line from now on.
    if (reply.errorName() == QLatin1String("org.freedesktop.DBus.Error.UnknownMethod"))
      players_.chosen()->has_open_uri = false;
    watch_.stopped();
    on_news();
  });
}

// The player's own command with one more argument: never through a shell,
// and the path is absolute, so it is never read as an option.
void MprisHandOver::run_with(const std::string& path) {
  auto words = settings_.command_words();
  std::string program = settings_.program();
  if (!words || program.empty()) return;
  std::vector<std::string> arguments(words->begin() + 1, words->end());
  arguments.push_back(path);
  spawn_detached(program, arguments);
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
