// SPDX-License-Identifier: GPL-3.0-or-later
#include "shell/form1_wiring.h"

#include <QCoreApplication>
#include <QCursor>
#include <QTimer>
#include <utility>

#include "player/player_link.h"
#include "shell/file_drop.h"
#include "shell/form1.h"
#include "shell/local_text.h"
#include "shell/songlist_view.h"

namespace jukora {

Form1Wiring::Form1Wiring(Form1& form, TrayHost& tray, Clock& clock)
    : quit([] { QCoreApplication::exit(0); }),
      form_(form),
      play_modes_(form.songlist(), form.files(), form.settings(), form.link(), form.desktop(), clock,
                  form.play_timer()),
      scoring_(form.songlist(), form.files(), form.settings(), form.link(), form.desktop(), score_retry_timer_),
      add_songs_(form.songlist(), form.files(), form.desktop(), form.dialog_memory()),
      tray_buttons_(tray, *this),
      mode_menu_({[this](Scope scope) { play_modes_.mnuRandom_Click(scope); },
                  [this](PlayChoice choice) { play_modes_.mnuDescending_Click(choice); },
                  [this](PlayChoice choice) { play_modes_.mnuAscending_Click(choice); },
                  [this](SonglistCommand command) { form_.files().mnuSonglist_Click(command); },
                  [this] { add_songs_.add_files_dialog(); }, [this] { form_.desktop().show_preferences(); },
                  [this] { play_modes_.stop_winamp(); }, [this] { exit_now(); }}),
      file_drop_(std::make_unique<FileDrop>(form.MSFlexGrid1(), [this](const std::vector<std::string>& paths) {
        add_songs_.MSFlexGrid1_OLEDragDrop(paths);
        form_.show_songlist();
      })) {
  form.hooks.add_tray_icons = [this] { tray_buttons_.add_tray_icons(form_.settings()); };
  form.hooks.tray_available = [&tray] { return tray.available(); };
  form.hooks.remove_tray_icons = [this] { tray_buttons_.remove_tray_icons(); };
  // Form1 shows the songlist itself after these.
  form.hooks.show_mode_menu = [this](const QPoint& at) {
    mode_menu_.set_songlist_caption(form_.songlist_caption());
    mode_menu_.set_stop_caption(qt_text(form_.link().texts().stop_item));
    mode_menu_.show_mode_menu(at);
  };
  form.hooks.MSFlexGrid1_DblClick = [this] { play_modes_.MSFlexGrid1_DblClick(); };
  form.hooks.tmrJukora_Timer = [this] { play_modes_.tmrJukora_Timer(); };

  score_retry_.setInterval(250);
  QObject::connect(&score_retry_, &QTimer::timeout, &score_retry_, [this] {
    scoring_.retry_Timer();
    form_.show_songlist();
  });
  play_modes_.score_first = [this] { return scoring_.run_waiting(); };
  // A player that tells of a change (its song ended, it began the song it
  // was given, it answers again) runs a waiting score and moves a running
  // cycle on without waiting for the next tick. Queued: the news may come
  // in the middle of a request to the player.
  form.link().on_change = [this] {
    QTimer::singleShot(0, &form_, [this] {
      scoring_.run_waiting();
      if (form_.tmrJukora().isActive()) form_.tmrJukora_Timer();
      form_.show_songlist();
    });
  };
}

Form1Wiring::~Form1Wiring() {
  form_.hooks = {};
  form_.link().on_change = nullptr;
}

void Form1Wiring::increment() {
  scoring_.increment_current_song();
  form_.show_songlist();
}

void Form1Wiring::decrement() {
  scoring_.decrement_current_song();
  form_.show_songlist();
}

void Form1Wiring::skip() {
  play_modes_.skip_song();
  form_.show_songlist();
}

void Form1Wiring::show() {
  form_.showNormal();
  form_.raise();
  form_.activateWindow();
}

void Form1Wiring::toggle_list() {
  form_.setVisible(!form_.isVisible());
  if (!form_.isVisible()) return;
  form_.raise();
  form_.activateWindow();
}

void Form1Wiring::open_mode_menu() { show_mode_menu(QCursor::pos()); }

void Form1Wiring::show_mode_menu(const QPoint& at) {
  form_.hooks.show_mode_menu(at);
  form_.show_songlist();
}

void Form1Wiring::exit_now() {
  tray_buttons_.remove_tray_icons();
  form_.save_changes();
  if (quit) quit();
}

}  // namespace jukora
