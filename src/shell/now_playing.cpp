// SPDX-License-Identifier: GPL-3.0-or-later
#include "shell/now_playing.h"

#include "shell/form1.h"
#include "shell/intents.h"
#include "shell/local_text.h"
#include "songlist/paths.h"
#include "songlist/songlist.h"

namespace jukora {

NowPlaying::NowPlaying(PlayerLink& link, const SettingsStore& settings, Songlist& songlist, Form1& window,
                       Intents& intents)
    : songlist_(songlist), window_(window), intents_(intents), playing_(link, settings) {
  playing_.on_look_up = [this] { follow(); };
}

NowPlaying::~NowPlaying() = default;

void NowPlaying::start() {
  playing_.look_up();
  playing_.start();
}

int NowPlaying::playing_row() const {
  const std::string& path = playing_.path();
  const int last = songlist_.Rows() - 1;
  if (path.empty() || last < 1) return 0;
  return songlist_.find(song_directory(path), get_file_name(path), 1, last);
}

void NowPlaying::follow() {
  const std::string& path = playing_.path();
  window_.mark_playing(path.empty() ? std::string() : song_directory(path), get_file_name(path));
}

void NowPlaying::show_playing() {
  playing_.look_up();
  intents_.show();
  const std::string& path = playing_.path();
  if (path.empty()) {
    window_.show_status("Nothing is playing.");
    return;
  }
  const int row = playing_row();
  if (row == 0) {
    window_.show_status(qt_text(get_file_name(path)) + " is not in the songlist.");
    return;
  }
  window_.show_status({});
  window_.show_row(row);
}

}  // namespace jukora
