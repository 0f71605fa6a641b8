// SPDX-License-Identifier: GPL-3.0-or-later
// Recording fakes of the platform interfaces and the player link, and a
// temporary folder that cleans up after itself.
#pragma once

#include <chrono>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "platform/clock.h"
#include "platform/desktop.h"
#include "platform/event_loop.h"
#include "platform/timer.h"
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
  void notify(const std::string& text) override { notes.push_back(text); }
  void show_window() override { window.push_back("show"); }
  void toggle_window() override { window.push_back("toggle"); }
  void open_mode_menu() override { window.push_back("mode menu"); }
  void show_status(const std::string& text) override { status = text; }
  bool showing_modal() const override { return modal; }
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
  std::vector<std::string> progress;
  // What was asked of the window, and its status line.
  std::vector<std::string> window;
  std::string status;
  bool modal = false;
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

class FakeTimer : public Timer {
 public:
  void set_enabled(bool on) override { is_enabled = on; }
  bool enabled() const override { return is_enabled; }
  bool is_enabled = false;
};

// An event loop the test turns itself: posted work runs at once, in order,
// once the work running now is done; timers tick when the test fires them.
class FakeEventLoop : public EventLoop {
 public:
  struct LoopTimer : FakeTimer {
    ~LoopTimer() override { std::erase(loop->timers, this); }
    FakeEventLoop* loop = nullptr;
    std::chrono::milliseconds interval{};
    std::function<void()> tick;
  };

  void post(std::function<void()> work) override {
    if (on_yield) on_yield();
    posted.push_back(std::move(work));
    if (running) return;
    running = true;
    while (!posted.empty()) {
      auto next = std::move(posted.front());
      posted.erase(posted.begin());
      next();
    }
    running = false;
  }
  std::unique_ptr<Timer> timer(std::chrono::milliseconds interval, std::function<void()> tick) override {
    auto made = std::make_unique<LoopTimer>();
    made->loop = this;
    made->interval = interval;
    made->tick = std::move(tick);
    timers.push_back(made.get());
    return made;
  }
  // Ticks every enabled timer of this interval once.
  void fire(std::chrono::milliseconds interval) {
    for (LoopTimer* timer : std::vector<LoopTimer*>(timers))
      if (timer->interval == interval && timer->enabled()) timer->tick();
  }

  // Runs before each piece of work is posted: the moment long work hands
  // the event loop back.
  std::function<void()> on_yield;
  std::vector<std::function<void()>> posted;
  std::vector<LoopTimer*> timers;
  bool running = false;
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
  PlayPosition play_position() override {
    if (busy) return {};
    return {running ? status : PlayStatus::kStopped, position, length};
  }
  HandOver play_file(const std::string& dir, const std::string& song) override {
    calls.push_back("play_file " + dir + " " + song);
    return answer();
  }
  Arrival arrival() override {
    if (arrivals.empty()) return {};
    Arrival next = arrivals.front();
    arrivals.erase(arrivals.begin());
    return next;
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
      return refusal.empty() ? HandOver::started()
             : refuses_any   ? HandOver::refused_any(refusal)
                             : HandOver::refused(refusal);
    return HandOver::busy();
  }

  std::vector<std::string> calls;
  bool running = true;
  bool busy = false;        // answers nothing in time
  int busy_hand_overs = 0;  // this many more hand-overs meet a busy player
  std::string refusal;
  bool refuses_any = false;  // the refusal holds for every song
  // The next answers to arrival(), one per question; then: it plays.
  std::vector<Arrival> arrivals;
  PlayStatus status = PlayStatus::kStopped;
  // The song the player is at, as it names it; nothing: none.
  std::optional<std::string> song;
  // Where in it, and how long it is; nothing: it does not say.
  std::optional<std::chrono::milliseconds> position, length;
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

// The file's bytes; one that cannot be read, or ends while it is read, gives
// what was read.
std::string read_bytes(const std::filesystem::path& path);
// Each live process's id and command line (Linux /proc; empty elsewhere).
std::vector<std::pair<int, std::string>> process_command_lines();
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
