// SPDX-License-Identifier: GPL-3.0-or-later
#include "shell/app.h"

#include <QCursor>
#include <utility>

#include "platform/settings_keys.h"
#include "player/executable_check.h"
#include "player/player_link.h"
#include "scoring/score_changes.h"
#include "shell/preferences/dialog.h"
#include "shell/preferences/dir_dialog.h"
#include "shell/local_text.h"
#include "shell/player_links.h"
#include "shell/qt_desktop.h"
#include "shell/window/songlist_view.h"
#include "songlist/row_deletion.h"

namespace jukora {

App::App(SettingsStore& settings, QtDesktop& desktop, std::unique_ptr<PlayerLinks> players, TrayHost& tray,
         Clock& clock, AppFolders folders)
    : settings_(settings),
      desktop_(desktop),
      tray_(tray),
      folders_(std::move(folders)),
      players_(std::move(players)),
      link_(players_->link()),
      files_(songlist_, settings_, desktop_, folders_, dialog_memory_),
      form_(settings_, songlist_),
      undo_controls_(form_, files_, [this] { form_.show_songlist(); }),
      songlist_watch_(files_, form_.MSFlexGrid1(), [this] { form_.show_songlist(); }),
      preferences_(new Dialog(settings_, link_, &form_)),
      dir_dialog_(new DirDialog(*preferences_, folders_, &form_)),
      play_timer_(form_.tmrJukora()),
      play_modes_(songlist_, files_, settings_, link_, desktop_, clock, play_timer_),
      scoring_(songlist_, files_, settings_, link_, desktop_, score_retry_timer_),
      add_songs_(songlist_, files_, desktop_, dialog_memory_),
      tray_buttons_(tray, *this),
      mode_menu_({[this](Scope scope) { play_modes_.mnuRandom_Click(scope); },
                  [this](PlayChoice choice) { play_modes_.mnuDescending_Click(choice); },
                  [this](PlayChoice choice) { play_modes_.mnuAscending_Click(choice); },
                  [this](SonglistCommand command) {
                    files_.mnuSonglist_Click(command);
                    songlist_watch_.follow(files_.current_path());
                  },
                  [this] { add_songs_.add_files_dialog(); }, [this] { desktop_.show_preferences(); },
                  [this] { play_modes_.stop_winamp(); }, [this] { exit_now(); },
                  [this] { now_playing_.show_playing(); }, [this] { ratings_imports_.open_dialog(); },
                  [this] { undo_controls_.undo(); }, [this] { undo_controls_.redo(); },
                  [this] { history_.show_song_history(); }, [this] { history_.show_statistics(); }}),
      file_drop_(form_.MSFlexGrid1(),
                 [this](const std::vector<std::string>& paths) {
                   add_songs_.MSFlexGrid1_OLEDragDrop(paths);
                   form_.show_songlist();
                 }),
      now_playing_(link_, settings_, songlist_, form_, *this, events_,
                   [this](const CommandCall& call) { receive(call); }),
      score_sharing_(settings_, events_, desktop_),
      ratings_imports_(songlist_, files_, settings_, desktop_, &form_),
      history_(events_, folders_, desktop_, songlist_, form_.MSFlexGrid1(), &form_),
      remote_([this](const CommandCall& call) { run_command(call, *this); }) {
  files_.tell_scores_to(events_);
  ratings_imports_.on_imported = [this] { form_.show_songlist(); };
  wire_window();
  wire_player();
}

App::~App() {
  form_.hooks = {};
  link_.on_change = nullptr;
  desktop_.on_show_preferences = nullptr;
  desktop_.on_menu_caption = nullptr;
}

void App::wire_window() {
  desktop_.set_parent(&form_);
  desktop_.on_show_preferences = [this] { preferences_->show_dialog(); };
  desktop_.on_menu_caption = [this](const QString& caption) { mode_menu_.set_songlist_caption(caption); };
  preferences_->set_mpris_directory(players_->mpris_directory());
  QObject::connect(preferences_, &Dialog::browse_requested, dir_dialog_, &DirDialog::show_chooser);
  // The chooser writes into the Preferences dialog, so it goes with it.
  QObject::connect(preferences_, &Dialog::closed, dir_dialog_, &DirDialog::close_chooser);
  QObject::connect(&form_, &Form1::unloaded, &form_, [this] {
    if (quit) quit();
  });

  Form1Hooks& hooks = form_.hooks;
  hooks.check_player_folder = [this] {
    if (program_missing_from_folder(link_, read_winamp_dir(settings_))) dir_dialog_->show_chooser();
  };
  hooks.add_tray_icons = [this] { tray_buttons_.add_tray_icons(settings_); };
  hooks.read_songlist = [this] {
    files_.show_captions();
    files_.read_songlist();
    songlist_watch_.follow(files_.current_path());
  };
  hooks.tray_available = [this] { return tray_.available(); };
  hooks.remove_tray_icons = [this] { tray_buttons_.remove_tray_icons(); };
  hooks.closing = [this] {
    // A direct play's Last Played is not saved when it is made.
    if (files_.has_unsaved_change()) files_.write_songlist();
    preferences_->close_dialog();
  };
  // While a search narrows the grid, the keys act on the shown rows of the selection.
  hooks.cmdIncDec_Click = [this](int index) {
    if (const auto chosen = form_.chosen_rows())
      jukora::cmdIncDec_Click(songlist_, files_, index, *chosen);
    else
      jukora::cmdIncDec_Click(songlist_, files_, index);
  };
  hooks.MSFlexGrid1_KeyPress = [this](int key_ascii) {
    const auto chosen = form_.chosen_rows();
    jukora::MSFlexGrid1_KeyPress(
        songlist_, files_, key_ascii, [this] { form_.MSFlexGrid1_DblClick(); }, chosen ? &*chosen : nullptr);
  };
  hooks.MSFlexGrid1_KeyDown = [this](int key_code, int shift) {
    const auto chosen = form_.chosen_rows();
    jukora::MSFlexGrid1_KeyDown(songlist_, files_, key_code, shift, chosen ? &*chosen : nullptr);
  };
  // Form1 shows the songlist itself after these.
  hooks.show_mode_menu = [this](const QPoint& at) {
    mode_menu_.set_stop_caption(qt_text(link_.texts().stop_item));
    mode_menu_.set_undo_steps(undo_controls_.undo_step(), undo_controls_.redo_step());
    mode_menu_.set_history_enabled(history_.has_song());
    mode_menu_.show_mode_menu(at);
  };
  hooks.MSFlexGrid1_DblClick = [this] { play_modes_.MSFlexGrid1_DblClick(); };
  hooks.tmrJukora_Timer = [this] { play_modes_.tmrJukora_Timer(); };
  hooks.show_playing = [this] { now_playing_.show_playing(); };
}

void App::wire_player() {
  score_retry_.setInterval(250);
  QObject::connect(&score_retry_, &QTimer::timeout, &score_retry_, [this] {
    scoring_.retry_Timer();
    form_.show_songlist();
  });
  play_modes_.score_first = [this] { return scoring_.run_waiting(); };
  play_modes_.song_events = &events_;
  // A player that tells of a change (its song ended, it began the song it
  // was given, it answers again) runs a waiting score and moves a running
  // cycle on without waiting for the next tick. Queued: the news may come
  // in the middle of a request to the player.
  link_.on_change = [this] {
    QTimer::singleShot(0, &form_, [this] {
      scoring_.run_waiting();
      if (play_timer_.enabled()) form_.tmrJukora_Timer();
      form_.show_songlist();
    });
  };
}

bool App::listen(const QString& address) { return remote_.listen(address); }

void App::receive(const CommandCall& call) { remote_.receive(call); }

void App::start() {
  form_.Form_Load();
  if (ending_) {
    // A signal came while start-up waited in a message box.
    form_.hide();
    return;
  }
  started_ = true;
  now_playing_.start();
  remote_.start_acting();
}

void App::increment(ChangeSource source) {
  scoring_.increment_current_song(source);
  form_.show_songlist();
}

void App::decrement(ChangeSource source) {
  scoring_.decrement_current_song(source);
  form_.show_songlist();
}

void App::skip() {
  play_modes_.skip_song();
  form_.show_songlist();
}

void App::show() {
  form_.showNormal();
  form_.raise();
  form_.activateWindow();
}

void App::toggle_list() {
  form_.setVisible(!form_.isVisible());
  if (!form_.isVisible()) return;
  form_.raise();
  form_.activateWindow();
}

void App::open_mode_menu() { show_mode_menu(QCursor::pos()); }

void App::undo() {
  if (!undo_controls_.undo()) desktop_.notify("There is nothing to undo.");
}

void App::import_ratings(const std::string& source, bool dry_run, const CommandReply& reply) {
  ratings_imports_.import_for_caller(source, dry_run, reply);
}

void App::show_mode_menu(const QPoint& at) {
  form_.hooks.show_mode_menu(at);
  form_.show_songlist();
}

void App::exit_now() {
  if (ending_) return;
  ending_ = true;
  desktop_.end_waiting();
  tray_buttons_.remove_tray_icons();
  if (files_.has_unsaved_change()) files_.write_songlist();
  // Until start-up has shown it, the window's state is not the user's.
  if (started_) form_.save_changes();
  if (quit) quit();
}

}  // namespace jukora
