// SPDX-License-Identifier: GPL-3.0-or-later
#include "shell/player_links.h"

#include "platform/app_folders.h"
#include "platform/desktop.h"
#ifdef _WIN32
#include "player/winamp/win32_winamp_window.h"
#include "player/winamp/winamp_link.h"
#else
#include "player/command_line.h"
#include "player/mpd/mpd_link.h"
#include "player/mpris/mpris_link.h"
#include "player/mpv/mpv_link.h"
#include "player/player_choice.h"
#endif

namespace jukora {

namespace {

#ifdef _WIN32
class Players : public PlayerLinks {
 public:
  Players(SettingsStore&, const AppFolders&, Desktop&) : winamp_(make_winamp_link(window_)) {}
  PlayerLink& link() override { return *winamp_; }

 private:
  Win32WinampWindow window_;
  std::unique_ptr<PlayerLink> winamp_;
};
#else
class Players : public PlayerLinks {
 public:
  Players(SettingsStore& settings, const AppFolders& folders, Desktop& desktop)
      : mpv_(make_mpv_link(folders)),
        // The program's own mpv shows up on the bus too when mpv's MPRIS
        // script is installed; it is never the user's player.
        mpris_(make_mpris_link(
            settings, folders,
            [this](long pid) { return process_has_argument(pid, "--input-ipc-server=" + mpv_->socket_path()); })),
        mpd_(make_mpd_link(settings, folders)),
        choice_(settings, *mpv_) {
    mpris_->tell = [&desktop](const std::string& text) { desktop.notify(text); };
    choice_.add("mpris", *mpris_);
    choice_.add("mpd", *mpd_);
  }
  PlayerLink& link() override { return choice_; }
  MprisDirectory* mpris_directory() override { return mpris_.get(); }

 private:
  std::unique_ptr<MpvLink> mpv_;
  std::unique_ptr<MprisLink> mpris_;
  std::unique_ptr<PlayerLink> mpd_;
  PlayerChoice choice_;
};
#endif

}  // namespace

std::unique_ptr<PlayerLinks> make_player_link(SettingsStore& settings, const AppFolders& folders, Desktop& desktop) {
  return std::make_unique<Players>(settings, folders, desktop);
}

}  // namespace jukora
