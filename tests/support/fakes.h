// SPDX-License-Identifier: GPL-3.0-or-later
// Recording fakes of the platform interfaces and the player link, and a
// temporary folder that cleans up after itself.
#pragma once

#include <chrono>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "platform/clock.h"
#include "platform/desktop.h"
#include "platform/play_timer.h"
#include "player/player_link.h"

namespace jukora::testing {

class FakeDesktop : public Desktop {
 public:
  void message_box(const std::string& text) override { messages.push_back(text); }
  std::optional<std::string> choose_file(const FileDialogRequest& request) override;
  std::vector<std::string> choose_files(const FileDialogRequest& request) override;
  void set_captions(const std::string& window, const std::string& menu) override {
    window_caption = window;
    menu_caption = menu;
  }
  void show_preferences() override { ++preferences_shown; }
  void set_busy(bool busy) override { busy_changes.push_back(busy); }
  void yield_events() override {
    if (on_yield) on_yield();
  }
  void notify(const std::string& text) override { notes.push_back(text); }
  bool show_progress(const std::string& text) override {
    progress.push_back(text);
    return !cancel;
  }
  void end_progress() override { ++progress_ends; }

  std::vector<std::string> messages;
  std::vector<std::string> notes;
  std::vector<FileDialogRequest> requests;
  // The next answers of choose_file (nothing: cancelled) and choose_files.
  std::vector<std::optional<std::string>> file_answers;
  std::vector<std::vector<std::string>> files_answers;
  std::string window_caption, menu_caption;
  int preferences_shown = 0;
  std::vector<bool> busy_changes;
  std::function<void()> on_yield;
  std::vector<std::string> progress;
  int progress_ends = 0;
  bool cancel = false;  // the user's answer to every progress shown
};

class FakeClock : public Clock {
 public:
  DateTime now() override { return time; }
  void reseed() override { ++reseeds; }
  // Hands out `randoms` in turn; 0 when they run out.
  double random() override { return next < randoms.size() ? randoms[next++] : 0.0; }

  DateTime time{2026, 12, 6, 11, 0, 0};
  std::vector<double> randoms;
  std::size_t next = 0;
  int reseeds = 0;
};

class FakePlayTimer : public PlayTimer {
 public:
  void set_enabled(bool on) override { is_enabled = on; }
  bool enabled() const override { return is_enabled; }
  bool is_enabled = false;
};

// A player that records every request as a line of text, e.g.
// "play_file /usr/bin /music/a.mp3", and answers from its fields. It speaks
// with Winamp's texts, the program's words on Windows.
class FakePlayerLink : public PlayerLink {
 public:
  Reach reach() override {
    calls.push_back("reach");
    return busy ? Reach::kBusy : running ? Reach::kRunning : Reach::kNotRunning;
  }
  PlayStatus play_status() override {
    calls.push_back("play_status");
    return busy ? PlayStatus::kBusy : running ? status : PlayStatus::kStopped;
  }
  CurrentSong current_song(const std::string& dir) override;
  HandOver play_file(const std::string& dir, const std::string& song) override {
    calls.push_back("play_file " + dir + " " + song);
    return answer();
  }
  HandOver play_playlist(const std::string& dir) override {
    calls.push_back("play_playlist " + dir);
    return answer();
  }
  std::string playlist_path(const std::string& dir) const override;
  void stop() override {
    calls.push_back("stop");
    if (running) status = PlayStatus::kStopped;
  }
  void start(const std::string& dir) override { calls.push_back("start " + dir); }
  std::string folder_program(const std::string& dir) const override;
  PlayerTexts texts() const override;
  void cycle_ended() override { calls.push_back("cycle_ended"); }

  // The calls that start the player or hand it something, in order.
  std::vector<std::string> starts() const;

  // How a hand-over is answered: busy, refused with this reason, or started.
  HandOver answer() {
    if (busy_hand_overs > 0)
      --busy_hand_overs;
    else if (!busy)
      return refusal.empty() ? HandOver::started() : HandOver::refused(refusal);
    return HandOver::busy();
  }

  std::vector<std::string> calls;
  bool running = true;
  bool busy = false;        // answers nothing in time
  int busy_hand_overs = 0;  // this many more hand-overs meet a busy player
  std::string refusal;
  PlayStatus status = PlayStatus::kStopped;
  // The song the player is at, as it names it; nothing: none.
  std::optional<std::string> song;
};

// A fresh directory under the system's temporary folder, removed at the end.
class TempDir {
 public:
  TempDir();
  ~TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;

  const std::filesystem::path& path() const { return path_; }
  std::string file(const std::string& name) const { return (path_ / name).string(); }

 private:
  std::filesystem::path path_;
};

std::string read_bytes(const std::filesystem::path& path);
void write_bytes(const std::string& path, const std::string& bytes);
// A quiet tone for the real players: 44.1 kHz, mono, 16-bit PCM.
void write_wav(const std::string& path, std::uint32_t seconds = 1);

// Polls `condition` until it holds or `limit` has passed.
template <class Condition>
bool eventually(Condition condition, std::chrono::milliseconds limit = std::chrono::seconds(8)) {
  auto deadline = std::chrono::steady_clock::now() + limit;
  while (!condition()) {
    if (std::chrono::steady_clock::now() > deadline) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
  return true;
}

}  // namespace jukora::testing
