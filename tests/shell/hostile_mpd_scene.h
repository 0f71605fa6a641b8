// SPDX-License-Identifier: GPL-3.0-or-later
// The program with MPD as its player, a hostile server in MPD's place, and
// everything that asks MPD at work: the playing-song lookup, a play cycle,
// score clicks, the sticker mirror, an import of MPD's stickers and the
// Preferences. For the test that bounds how long the window is held, and
// for the benchmark that measures it.
#pragma once

#include <QEventLoop>
#include <QTimer>
#include <chrono>
#include <fstream>
#include <memory>
#include <string>

#include "platform/app_folders.h"
#include "platform/clock.h"
#include "platform/memory_settings_store.h"
#include "platform/settings_keys.h"
#include "player/mpd/mpd_link.h"
#include "scoring/score_changes.h"
#include "shell/app.h"
#include "shell/player_links.h"
#include "shell/preferences/dialog.h"
#include "shell/qt_desktop.h"
#include "shell/tray/tray_buttons.h"
#include "support/hostile_mpd.h"

namespace jukora::testing {

class MpdAskers {
 public:
  // The program's data in `folder`, MPD at the socket `mpd`.
  MpdAskers(const std::string& folder, const std::string& mpd) : folders_{folder} {
    settings_.SaveSetting(sections::kPlayer, keys::kPlayerKind, "mpd");
    settings_.SaveSetting(sections::kPlayer, keys::kMpdHost, mpd);
    settings_.SaveSetting(sections::kPrefs, keys::kShareMpd, "True");
    std::ofstream list(default_songlist_path(folders_), std::ios::binary);
    for (const char* song : {"a.wav", "b.wav"}) {
      std::ofstream(folder + "/" + song) << "RIFF";
      list << "\"" << folder << "\",\"" << song << "\",\"1\",\"00:00 1/1/71\"\r\n";
    }
    list.close();
    app_ = std::make_unique<App>(settings_, desktop_, std::make_unique<OnePlayerLink>(*link_), tray_, clock_, folders_);
    app_->start();
  }

  // Runs the event loop for `time` with all of them at work.
  void run(std::chrono::milliseconds time) {
    app_->play_modes().start_cycle({PlayOrder::kRandom, Scope::kAll});
    app_->session().import_ratings("mpd", false, {});
    app_->preferences().show_dialog();
    QTimer clicks;
    bool up = true;
    QObject::connect(&clicks, &QTimer::timeout, [this, &up] {
      up ? app_->session().increment(ChangeSource::kTray) : app_->session().decrement(ChangeSource::kTray);
      // A score step in the window, which the sticker mirror sends on.
      app_->songlist().SetRow(1);
      step_scores(app_->songlist(), app_->files(), up ? ScoreDirection::kUp : ScoreDirection::kDown,
                  range_of_selection(app_->songlist()));
      up = !up;
    });
    clicks.start(300);
    QEventLoop loop;
    QTimer::singleShot(time, &loop, &QEventLoop::quit);
    loop.exec();
    app_->preferences().close_dialog();
    app_->play_modes().stop_player();
  }

 private:
  // Message boxes would wait for a person.
  class QuietDesktop : public QtDesktop {
   public:
    void message_box(const std::string&) override {}
  };
  class NoTray : public TrayHost {
   public:
    void add_icon(TrayIconId, const char*) override {}
    void remove_icon(TrayIconId) override {}
    bool show_message(const std::string&) override { return false; }
  };

  const AppFolders folders_;
  MemorySettingsStore settings_;
  QuietDesktop desktop_;
  NoTray tray_;
  SystemClock clock_;
  std::unique_ptr<PlayerLink> link_ = make_mpd_link(settings_, folders_);
  std::unique_ptr<App> app_;
};

}  // namespace jukora::testing
