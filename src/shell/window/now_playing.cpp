// SPDX-License-Identifier: GPL-3.0-or-later
#include "shell/window/now_playing.h"

#include <algorithm>
#include <charconv>
#include <cstdint>
#include <limits>

#include "platform/app_folders.h"
#include "shell/intents.h"
#include "shell/local_text.h"
#include "shell/window/form1.h"
#include "songlist/paths.h"
#include "songlist/song_events.h"
#include "songlist/songlist.h"

#ifndef _WIN32
#include "shell/remote/dbus_interface.h"
#endif

namespace jukora {

NowPlaying::NowPlaying(PlayerLink& link, const SettingsStore& settings, Songlist& songlist, Form1& window,
                       Intents& intents, SongEvents& events, RunCommand run)
    : songlist_(songlist), window_(window), intents_(intents), run_(std::move(run)), playing_(link, settings) {
  playing_.on_look_up = [this] { follow(); };
  events.on_scores([this](const std::vector<ScoreChange>& changes) {
    if (!bus_) return;
    for (const ScoreChange& change : changes)
      bus_->score_changed(qt_text(join_path(change.directory, change.file)),
                          static_cast<int>(std::clamp<std::int64_t>(change.new_score, std::numeric_limits<int>::min(),
                                                                    std::numeric_limits<int>::max())));
    follow();
  });
}

NowPlaying::~NowPlaying() = default;

void NowPlaying::start() {
  playing_.look_up();
  playing_.start();
}

void NowPlaying::offer_on_bus(const QDBusConnection& bus) {
#ifndef _WIN32
  // What a command changed is told at once, not at the next lookup.
  bus_ = std::make_unique<DbusInterface>(bus, [this](const CommandCall& call) {
    run_(call);
    follow();
  });
  if (!bus_->offer()) bus_.reset();
  follow();
#else
  (void)bus;
#endif
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
  if (!bus_) return;
  const int row = playing_row();
  bus_->set_current(qt_text(path), row > 0 ? songlist_.score(row).clamped() : 0);
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
