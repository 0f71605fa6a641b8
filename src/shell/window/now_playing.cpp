// SPDX-License-Identifier: GPL-3.0-or-later
#include "shell/window/now_playing.h"

#include <algorithm>
#include <cstdint>
#include <limits>

#include "platform/app_folders.h"
#include "session/session.h"
#include "shell/local_text.h"
#include "songlist/paths.h"
#include "songlist/song_events.h"

#ifndef _WIN32
#include "shell/remote/dbus_interface.h"
#endif

namespace jukora {

NowPlaying::NowPlaying(Session& session, RunCommand run) : session_(session), run_(std::move(run)) {
  session_.events().on_scores([this](const std::vector<ScoreChange>& changes) {
    if (!bus_) return;
    for (const ScoreChange& change : changes)
      bus_->score_changed(qt_text(join_path(change.directory, change.file)),
                          static_cast<int>(std::clamp<std::int64_t>(change.new_score, std::numeric_limits<int>::min(),
                                                                    std::numeric_limits<int>::max())));
    follow();
  });
  session_.watch(*this);
}

NowPlaying::~NowPlaying() { session_.unwatch(*this); }

PlayingSong& NowPlaying::playing() { return session_.playing(); }

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

void NowPlaying::session_changed(const SessionNews& news) {
  if (news.playing || news.songs) follow();
}

void NowPlaying::follow() {
  if (!bus_) return;
  const std::string& path = session_.playing().path();
  const Songlist& songlist = session_.songlist();
  const int last = songlist.Rows() - 1;
  const int row = path.empty() || last < 1 ? 0 : songlist.find(song_directory(path), get_file_name(path), 1, last);
  bus_->set_current(qt_text(path), row > 0 ? songlist.score(row).clamped() : 0);
}

void NowPlaying::show_playing() { session_.show_playing(); }

}  // namespace jukora
