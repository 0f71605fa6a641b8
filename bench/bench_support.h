// SPDX-License-Identifier: GPL-3.0-or-later
// What the benchmarks share: a folder of their own, a desktop that shows
// nothing and a songlist shaped like a large real collection.
#pragma once

#include <filesystem>
#include <string>
#include <utility>
#include <vector>

#include "platform/app_folders.h"
#include "platform/desktop.h"
#include "platform/event_loop.h"
#include "player/player_link.h"

namespace jukora {

class Songlist;

// A folder of its own under the temporary directory, emptied at the start
// and removed at the end.
struct BenchFolder {
  explicit BenchFolder(const std::string& name) : path(std::filesystem::temp_directory_path() / name) {
    std::filesystem::remove_all(path);
    std::filesystem::create_directories(path);
  }
  ~BenchFolder() { std::filesystem::remove_all(path); }
  BenchFolder(const BenchFolder&) = delete;
  BenchFolder& operator=(const BenchFolder&) = delete;

  const std::filesystem::path path;
};

// A player that never plays: found (and stopped) when `running`, else absent.
// Its executable is `executable` in the player's folder.
class IdlePlayer : public PlayerLink {
 public:
  IdlePlayer(bool running, std::string executable) : running_(running), executable_(std::move(executable)) {}
  Reach reach() override { return running_ ? Reach::kRunning : Reach::kNotRunning; }
  PlayStatus play_status() override { return PlayStatus::kStopped; }
  CurrentSong current_song(const std::string&) override { return CurrentSong::no_song(); }
  HandOver play_file(const std::string&, const std::string&) override { return HandOver::started(); }
  HandOver play_playlist(const std::string&) override { return HandOver::started(); }
  std::string playlist_path(const std::string& dir) const override { return join_path(dir, "winamp.m3u"); }
  void stop() override {}
  void start(const std::string&) override {}
  std::string folder_program(const std::string& dir) const override { return join_path(dir, executable_); }
  PlayerTexts texts() const override { return {}; }

 private:
  bool running_;
  std::string executable_;
};

// An event loop that runs posted work at once, in order, and whose timers
// never tick: a drop's walk runs to its end inside the call that began it.
class ImmediateLoop : public EventLoop {
 public:
  void post(std::function<void()> work) override {
    queue_.push_back(std::move(work));
    if (running_) return;
    running_ = true;
    while (!queue_.empty()) {
      auto next = std::move(queue_.front());
      queue_.erase(queue_.begin());
      next();
    }
    running_ = false;
  }
  std::unique_ptr<Timer> timer(std::chrono::milliseconds, std::function<void()>) override {
    struct Idle : Timer {
      void set_enabled(bool) override {}
      bool enabled() const override { return false; }
    };
    return std::make_unique<Idle>();
  }

 private:
  std::vector<std::function<void()>> queue_;
  bool running_ = false;
};

// Row i of a large collection: ~96-byte records, scores 0..49.
std::string collection_directory(int i);
std::string collection_file(int i);
std::string collection_score(int i);

// Appends `rows` such songs and recomputes.
void fill_collection(Songlist& songlist, int rows);

// The same songs as a songlist file, as Jukora saves it (in score order).
void write_collection(const std::string& path, int rows);

}  // namespace jukora
