// SPDX-License-Identifier: GPL-3.0-or-later
// A songlist, the play modes and current-song scoring driving a real,
// private MPD through MpdLink. One MPD serves the whole test run.
#pragma once

#include <gtest/gtest.h>

#include <chrono>
#include <functional>
#include <memory>
#include <optional>

#include "platform/settings_keys.h"
#include "player/mpd/mpd_link.h"
#include "player/mpd/mpd_server.h"
#include "songlist/paths.h"
#include "songlist/recompute.h"
#include "support/held_time.h"
#include "support/play_rig.h"
#include "support/players_posix.h"
#include "support/saved_songlist.h"

namespace jukora::testing {

inline constexpr const char* kMpdPassword = "s3cret";

// Started on first use, stopped when the run ends.
inline MpdServer& shared_mpd() {
  static TempDir folder;
  static MpdServer server(folder.path().string(), {kMpdPassword, {}});
  return server;
}

class MpdFixture : public ::testing::Test, protected SavedSonglist {
 protected:
  using Clock = std::chrono::steady_clock;

  MpdFixture() {
    EXPECT_GT(server.pid(), 0) << "MPD did not start";
    server.reset();
    use_socket();
  }

  void use_socket() { use(server.socket(), ""); }
  void use_tcp(const std::string& music_folder) { use("127.0.0.1", music_folder); }
  void use(const std::string& host, const std::string& music_folder, const std::string& password = kMpdPassword) {
    settings.SaveSetting(sections::kPlayer, keys::kMpdHost, host);
    settings.SaveSetting(sections::kPlayer, keys::kMpdPort, std::to_string(server.port()));
    settings.SaveSetting(sections::kPlayer, keys::kMpdPassword, password);
    settings.SaveSetting(sections::kPlayer, keys::kMpdMusicFolder, music_folder);
  }

  std::string song(const std::string& name) const { return server.music() + "/" + name; }
  // Rows for the songs, in this order, every one with Score 0.
  void list(const std::vector<std::string>& paths) {
    songlist.Clear();
    for (const auto& path : paths) songlist.add_cells({"", get_dir_name(path), get_file_name(path), "0"});
    recompute_songlist(songlist);
  }
  std::string score_of(const std::string& path) const {
    int row = songlist.find(get_dir_name(path), get_file_name(path), 1, songlist.Rows() - 1);
    return row ? std::string(songlist.TextMatrix(row, col::kScore)) : "not listed";
  }
  std::string playing() const { return server.value("currentsong", "file"); }
  std::string state() const { return server.value("status", "state"); }

  // The user's modes go back when the cycle ends, or, when MPD was too slow
  // for that event's time (a loaded machine), with the link's next request,
  // as the window's lookup of the playing song makes every two seconds.
  bool modes_come_back(const std::function<bool()>& back) {
    return eventually([&] {
      if (back()) return true;
      mpd.current_song("");
      return false;
    });
  }

  // The songlist exported as the user does it: a loaded machine may find MPD
  // busy within the export's deadline, which the export tells (MPD may have
  // taken part of it then), and the user exports again. True once an export
  // told nothing and MPD plays `first`.
  bool exported(const std::string& first) {
    return eventually(
        [&] {
          desktop.notes.clear();
          rig.modes.export_playlist(Scope::kAll, false);
          return desktop.notes.empty() && eventually([&] { return playing() == first; }, std::chrono::seconds(2));
        },
        std::chrono::seconds(20));
  }

  // Runs `request` and expects it to hold the event loop for less than the
  // quarter second an event may take.
  template <typename Request>
  static auto bounded(Request request) {
    std::optional<decltype(request())> result;
    EXPECT_LT(held_by([&] { result.emplace(request()); }), std::chrono::milliseconds(250));
    return *result;
  }

  MpdServer& server = shared_mpd();
  std::unique_ptr<PlayerLink> mpd_link = make_mpd_link(settings, folders);
  PlayerLink& mpd = *mpd_link;
  PlayRig rig{*this, mpd};
};

}  // namespace jukora::testing
