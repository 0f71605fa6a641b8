// SPDX-License-Identifier: GPL-3.0-or-later
#include "shell/app.h"

#include <QCursor>
#include <utility>

#include "history/sqlite/sqlite_history.h"
#include "platform/settings_keys.h"
#include "player/executable_check.h"
#include "player/player_link.h"
#include "ratings/score_sink.h"
#include "shell/desktop_notifier.h"
#include "shell/local_text.h"
#include "shell/player_links.h"
#include "shell/preferences/dialog.h"
#include "shell/preferences/dir_dialog.h"
#include "shell/qt_desktop.h"
#include "shell/window/search_fold.h"
#include "shell/window/songlist_view.h"
#ifndef _WIN32
#include "ratings/mpd/mpd_stickers.h"
#include "ratings/tags/tag_sink.h"
#include "shell/termination.h"
#endif

namespace jukora {

namespace {

std::unique_ptr<ScoreSink> mpd_sink([[maybe_unused]] const SettingsStore& settings) {
#ifndef _WIN32
  return std::make_unique<MpdStickerSink>(settings);
#else
  return nullptr;
#endif
}

std::unique_ptr<ScoreSink> tag_sink() {
#ifndef _WIN32
  return std::make_unique<TagSink>();
#else
  return nullptr;
#endif
}

// Runs `call`, with the caller's activation token where the desktop looks
// for it while the window is brought to the front (Wayland), and only then:
// the players started later must not inherit it.
void run_with_token(const CommandCall& call, Intents& intents) {
  if (call.activation_token.empty()) return run_command(call, intents);
  qputenv("XDG_ACTIVATION_TOKEN", QByteArray::fromStdString(call.activation_token));
  run_command(call, intents);
  qunsetenv("XDG_ACTIVATION_TOKEN");
}

}  // namespace

App::App(SettingsStore& settings, QtDesktop& desktop, std::unique_ptr<PlayerLinks> players, TrayHost& tray,
         Clock& clock, AppFolders folders)
    : settings_(settings),
      desktop_(desktop),
      tray_(tray),
      folders_(std::move(folders)),
      players_(std::move(players)),
      link_(players_->link()),
      mpd_sink_(mpd_sink(settings_)),
      tag_sink_(tag_sink()),
      history_store_(std::make_unique<SqliteHistory>(
          history_path(folders_),
          // Told on the history's worker.
          [this](const std::string& text) { loop_.post([this, text] { desktop_.notify(text); }); })),
      session_({.settings = settings_,
                .desktop = desktop_,
                .clock = clock,
                .loop = loop_,
                .cycle_timer = cycle_timer_,
                .link = link_,
                .folders = folders_,
                .fold = fold_for_search,
                .history = history_store_.get(),
                .mpd_sink = mpd_sink_.get(),
                .tag_sink = tag_sink_.get(),
                .import_ratings =
                    [this](const std::string& source, bool dry_run, const CommandReply& reply) {
                      ratings_imports_.import_for_caller(source, dry_run, reply);
                    }}),
      form_(settings_, session_, cycle_ticks_),
      undo_controls_(form_, session_),
      songlist_watch_(session_, form_.grid()),
      preferences_(new Dialog(settings_, link_, &form_)),
      dir_dialog_(new DirDialog(*preferences_, folders_, &form_)),
      tray_buttons_(tray, session_),
      file_drop_(form_.grid(), [this](const std::vector<std::string>& paths) { session_.drop(paths); }),
      now_playing_(session_, [this](const CommandCall& call) { receive(call); }),
      ratings_imports_(session_, settings_, desktop_, &form_),
      history_(*history_store_, loop_, session_.songlist(), form_.grid(), &form_),
      remote_([this](const CommandCall& call) { run_with_token(call, session_); }) {
  bind_window();
}

App::~App() {
  form_.hooks = {};
  tray_.on_release = nullptr;
  desktop_.on_show_preferences = nullptr;
  desktop_.on_menu_caption = nullptr;
  desktop_.on_mode_menu = nullptr;
  desktop_.on_status = nullptr;
}

void App::bind_window() {
  desktop_.set_parent(&form_);
  desktop_.on_show_preferences = [this] { preferences_->show_dialog(); };
  desktop_.on_menu_caption = [this](const QString& caption) { form_.mode_menu().set_songlist_caption(caption); };
  desktop_.on_mode_menu = [this] { show_mode_menu(QCursor::pos()); };
  desktop_.on_status = [this](const QString& text) { form_.show_status(text); };
  tray_.on_release = [this](TrayIconId icon, TrayRelease release) { form_.Form_MouseUp(icon, release); };
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
  hooks.tray_available = [this] { return tray_.available(); };
  hooks.remove_tray_icons = [this] { tray_buttons_.remove_tray_icons(); };
  hooks.closing = [this] {
    session_.save_unsaved();
    preferences_->close_dialog();
  };
  hooks.show_mode_menu = [this](const QPoint& at) { show_mode_menu(at); };
  hooks.tray_release = [this](TrayIconId icon, TrayRelease release) { tray_buttons_.release(icon, release); };
  hooks.import_ratings = [this] { ratings_imports_.open_dialog(); };
  hooks.history = [this] { history_.show_song_history(); };
  hooks.statistics = [this] { history_.show_statistics(); };
  hooks.exit = [this] { exit_now(); };
}

void App::reach_desktop(const QString& remote, const QDBusConnection& bus) {
  notifier_ = std::make_unique<DesktopNotifier>(
      desktop_, bus,
      NotificationOutlets{
          .wanted = [this] { return read_notifications(settings_); },
          .tray_message = [this](const QString& text) { return tray_.show_message(program_text(text)); },
          .window_line = [this](const QString& text) { form_.show_status(text); },
          .undo_offer = [this] { return session_.offer_undo(); }});
  listen(remote);
  // Desktop widgets, shell extensions and scripts reach it over D-Bus too.
  now_playing_.offer_on_bus(bus);
#ifndef _WIN32
  end_on_termination_signals([this] { exit_now(); });
#endif
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
  session_.start();
  remote_.start_acting();
}

void App::show_mode_menu(const QPoint& at) {
  ModeMenu& menu = form_.mode_menu();
  menu.set_stop_caption(qt_text(link_.texts().stop_item));
  menu.set_undo_steps(undo_controls_.undo_step(), undo_controls_.redo_step());
  menu.set_history_enabled(history_.has_song());
  menu.show_mode_menu(at);
  form_.show_songlist();
}

void App::exit_now() {
  if (ending_) return;
  ending_ = true;
  desktop_.end_waiting();
  tray_buttons_.remove_tray_icons();
  session_.save_unsaved();
  // Until start-up has shown it, the window's state is not the user's.
  if (started_) form_.save_changes();
  if (quit) quit();
}

}  // namespace jukora
