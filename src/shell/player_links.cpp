// SPDX-License-Identifier: GPL-3.0-or-later
#include "shell/player_links.h"

#include "platform/app_folders.h"
#include "platform/desktop.h"
#ifdef _WIN32
#include "player/win32_winamp_link.h"
#else
#include "player/command_line.h"
#include "player/mpd/mpd_link.h"
#include "player/mpris_link.h"
#include "player/mpv_link.h"
#include "player/player_choice.h"
#endif

namespace jukora {

namespace {

#ifdef _WIN32
class Players : public PlayerLinks {
 public:
  Players(SettingsStore&, const AppFolders&, Desktop&) {}
  PlayerLink& link() override { return winamp_; }

 private:
  Win32WinampLink winamp_;
};
#else
class Players : public PlayerLinks {
 public:
  Players(SettingsStore& settings, const AppFolders& folders, Desktop& desktop)
      : mpv_(folders),
        // The program's own mpv shows up on the bus too when mpv's MPRIS
        // script is installed; it is never the user's player.
        mpris_(settings, folders,
               [this](long pid) { return process_has_argument(pid, "--input-ipc-server=" + mpv_.socket_path()); }),
        mpd_(settings, folders),
        choice_(settings, mpv_) {
    mpris_.tell = [&desktop](const std::string& text) { desktop.notify(text); };
    choice_.add("mpris", mpris_);
    choice_.add("mpd", mpd_);
  }
  PlayerLink& link() override { return choice_; }
  MprisDirectory* mpris_directory() override { return &mpris_; }

 private:
  MpvLink mpv_;
  MprisLink mpris_;
  MpdLink mpd_;
  PlayerChoice choice_;
};
#endif

}  // namespace

std::unique_ptr<PlayerLinks> make_player_link(SettingsStore& settings, const AppFolders& folders, Desktop& desktop) {
  return std::make_unique<Players>(settings, folders, desktop);
}

}  // namespace jukora
