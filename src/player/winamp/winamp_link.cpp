// SPDX-License-Identifier: GPL-3.0-or-later
#include "player/winamp/winamp_link.h"

#include <chrono>
#include <utility>

#include "platform/app_folders.h"
#include "platform/files.h"
#include "player/winamp/winamp_texts.h"

namespace jukora {

namespace {

constexpr long kIsPlaying = 1;
constexpr long kIsPaused = 3;

// The command line of a start with one file: the program's path unquoted,
// one space and the file in double quotes.
std::string with_file(const std::string& program, const std::string& file) { return program + " \"" + file + "\""; }

class WinampLink : public PlayerLink {
 public:
  explicit WinampLink(WinampWindow& window) : window_(window) {}

  // Winamp is running when its window is there; a hung one is found too,
  // and its requests then say busy.
  Reach reach() override;
  PlayStatus play_status() override;
  // Its status, then the position and the length, each request within the
  // deadline of the others; a length of 0 s (a stream) is none.
  PlayPosition play_position() override;
  // Finds Winamp, checks its version, has it write its playlist and reads
  // the entry at the position it answers, as it is written there.
  CurrentSong current_song(const std::string& player_dir) override;

  HandOver play_file(const std::string& player_dir, const std::string& song_path) override;
  HandOver play_playlist(const std::string& player_dir) override;
  // "winamp.m3u" in the Winamp folder, which Winamp itself writes too.
  std::string playlist_path(const std::string& player_dir) const override;
  void stop() override;
  void start(const std::string& player_dir) override;

  std::string folder_program(const std::string& player_dir) const override;
  PlayerTexts texts() const override { return winamp_texts(); }

 private:
  PlayStatus status_of(WinampWindow::Handle window);

  WinampWindow& window_;
};

}  // namespace

std::unique_ptr<PlayerLink> make_winamp_link(WinampWindow& window) { return std::make_unique<WinampLink>(window); }

std::string playlist_entry(std::string_view text, long position) {
  long entry = -1;
  while (!text.empty()) {
    auto end = text.find('\n');
    std::string_view line = text.substr(0, end);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    if (line.empty() || line.front() != '#') {
      if (++entry == position) return std::string(line);
    }
    if (end == std::string_view::npos) break;
    text.remove_prefix(end + 1);
  }
  return {};
}

Reach WinampLink::reach() {
  return window_.find_winamp() == WinampWindow::kNoWindow ? Reach::kNotRunning : Reach::kRunning;
}

PlayStatus WinampLink::play_status() { return status_of(window_.find_winamp()); }

PlayStatus WinampLink::status_of(WinampWindow::Handle window) {
  // A request to no window answers 0: stopped.
  if (window == WinampWindow::kNoWindow) return PlayStatus::kStopped;
  const auto answer = window_.is_playing(window);
  if (!answer) return PlayStatus::kBusy;
  if (*answer == kIsPlaying) return PlayStatus::kPlaying;
  return *answer == kIsPaused ? PlayStatus::kPaused : PlayStatus::kStopped;
}

PlayPosition WinampLink::play_position() {
  const WinampWindow::Handle window = window_.find_winamp();
  const PlayStatus status = status_of(window);
  if (status != PlayStatus::kPlaying && status != PlayStatus::kPaused) return {status, std::nullopt, std::nullopt};
  const auto position = window_.output_time(window, WinampWindow::kOutputPosition);
  const auto length = position ? window_.output_time(window, WinampWindow::kOutputLength) : std::nullopt;
  if (!position || !length) return {};
  PlayPosition at{status, std::nullopt, std::nullopt};
  if (*position >= 0) at.position = std::chrono::milliseconds(*position);
  if (*length > 0) at.length = std::chrono::seconds(*length);
  return at;
}

CurrentSong WinampLink::current_song(const std::string& player_dir) {
  const WinampWindow::Handle window = window_.find_winamp();
  if (window == WinampWindow::kNoWindow) return CurrentSong::not_running(kNotRunning);
  // A version request that ran out is busy, never too old.
  const auto version = window_.version(window);
  if (!version) return CurrentSong::busy();
  if (*version < kLowestVersion) return CurrentSong::no_song(kTooOld);
  const long position = window_.write_playlist(window).value_or(-1);
  if (position < 0) return CurrentSong::no_song();
  const std::string path = playlist_path(player_dir);
  if (!is_file(path)) return CurrentSong::no_song(kPlaylistNotFound, true);
  std::string bytes;
  if (read_whole_file(path, bytes) != ReadResult::kOk) return CurrentSong::no_song();
  std::string entry = playlist_entry(bytes, position);
  if (entry.empty()) return CurrentSong::no_song();
  return CurrentSong::song(std::move(entry));
}

HandOver WinampLink::play_file(const std::string& player_dir, const std::string& song_path) {
  const std::string program = folder_program(player_dir);
  window_.run(program, with_file(program, song_path));
  return HandOver::started();
}

HandOver WinampLink::play_playlist(const std::string& player_dir) {
  const std::string program = folder_program(player_dir);
  window_.run(program, with_file(program, playlist_path(player_dir)));
  return HandOver::started();
}

std::string WinampLink::playlist_path(const std::string& player_dir) const {
  return join_path(player_dir, "winamp.m3u");
}

void WinampLink::stop() {
  const WinampWindow::Handle window = window_.find_winamp();
  if (window != WinampWindow::kNoWindow) window_.stop(window);
}

void WinampLink::start(const std::string& player_dir) {
  const std::string program = folder_program(player_dir);
  window_.run(program, program);
}

std::string WinampLink::folder_program(const std::string& player_dir) const {
  return join_path(player_dir, "winamp.exe");
}

}  // namespace jukora
