// SPDX-License-Identifier: GPL-3.0-or-later
// The program, built and wired in one place: the songlist and its file, the
// play modes, scoring the playing song, adding songs, the player link, the
// remote commands, the tray buttons and the mode menu, ratings imports and
// the score mirrors, and the windows that show them (Form1, the Preferences,
// the folder chooser). What the tray, the command line and the remote ask
// for are its intents (intents.h).
#pragma once

#include <QCoreApplication>
#include <QPoint>
#include <QString>
#include <QTimer>
#include <functional>
#include <memory>

#include "platform/app_folders.h"
#include "platform/desktop.h"
#include "playmodes/play_modes.h"
#include "scoring/add_songs.h"
#include "scoring/current_song_scoring.h"
#include "shell/window/file_drop.h"
#include "shell/window/form1.h"
#include "shell/history/history_keeper.h"
#include "shell/intents.h"
#include "shell/window/mode_menu.h"
#include "shell/window/now_playing.h"
#include "shell/qt_play_timer.h"
#include "shell/ratings/ratings_imports.h"
#include "shell/remote/remote_command.h"
#include "shell/ratings/score_sharing.h"
#include "shell/window/songlist_watch.h"
#include "shell/tray/tray_buttons.h"
#include "shell/window/undo_controls.h"
#include "songlist/song_events.h"
#include "songlist/songlist.h"
#include "songlist/songlist_files.h"

namespace jukora {

class Clock;
class Dialog;
class DirDialog;
class PlayerLink;
class PlayerLinks;
class QtDesktop;
class SettingsStore;

class App : public Intents {
 public:
  App(SettingsStore& settings, QtDesktop& desktop, std::unique_ptr<PlayerLinks> players, TrayHost& tray, Clock& clock,
      AppFolders folders);
  ~App() override;
  App(const App&) = delete;
  App& operator=(const App&) = delete;

  // Listens for the commands of copies started later; before start(), so
  // that a command sent during start-up is taken and waits for it.
  bool listen(const QString& address);
  // A command to run as if it had come over the socket (the program's own
  // command line).
  void receive(const CommandCall& call);
  // Start-up: the window comes up and loads the songlist; then the
  // commands run, those that came meanwhile first.
  void start();

  void increment(ChangeSource source) override;
  void decrement(ChangeSource source) override;
  void skip() override;
  void show() override;
  void toggle_list() override;
  void open_mode_menu() override;
  void undo() override;
  void import_ratings(const std::string& source, bool dry_run, const CommandReply& reply) override;

  // How the program ends once the window has closed, or once Exit has saved
  // what changed: at once, without closing the window.
  std::function<void()> quit = [] { QCoreApplication::exit(0); };

  Form1& window() { return form_; }
  Songlist& songlist() { return songlist_; }
  SonglistFiles& files() { return files_; }
  PlayModes& play_modes() { return play_modes_; }
  ModeMenu& mode_menu() { return mode_menu_; }
  UndoControls& undo_controls() { return undo_controls_; }
  Dialog& preferences() { return *preferences_; }
  DirDialog& dir_dialog() { return *dir_dialog_; }
  // Score changes and hand-overs, for the parts that follow the list.
  SongEvents& events() { return events_; }
  NowPlaying& now_playing() { return now_playing_; }
  RatingsImports& ratings_imports() { return ratings_imports_; }
  HistoryKeeper& history() { return history_; }

  // Exit, from the mode menu or a termination signal: the tray icons go,
  // what changed is saved, and the program ends, whatever box, dialog or
  // menu is open: its event loop ends too, and nothing later waits for the
  // user. Only the first call does anything.
  void exit_now();
  // Exit has begun; start-up stops where it is, and the main event loop is
  // not entered.
  bool ending() const { return ending_; }

 private:
  void wire_window();
  void wire_player();
  // Opens the mode menu at `at` (screen position) and shows what its item did.
  void show_mode_menu(const QPoint& at);

  SettingsStore& settings_;
  QtDesktop& desktop_;
  TrayHost& tray_;
  const AppFolders folders_;
  const std::unique_ptr<PlayerLinks> players_;
  PlayerLink& link_;
  DialogMemory dialog_memory_;
  Songlist songlist_;
  // What happened to songs, for those that follow the list.
  SongEvents events_;
  SonglistFiles files_;
  Form1 form_;
  UndoControls undo_controls_;
  SonglistWatch songlist_watch_;
  Dialog* const preferences_;
  DirDialog* const dir_dialog_;
  QtPlayTimer play_timer_;
  // Retries a score change that met a busy player.
  QTimer score_retry_;
  QtPlayTimer score_retry_timer_{score_retry_};
  PlayModes play_modes_;
  CurrentSongScoring scoring_;
  AddSongs add_songs_;
  TrayButtons tray_buttons_;
  ModeMenu mode_menu_;
  FileDrop file_drop_;
  NowPlaying now_playing_;
  ScoreSharing score_sharing_;
  RatingsImports ratings_imports_;
  // After everything that tells song events, so it goes first.
  HistoryKeeper history_;
  // Last: no command comes in while the rest is being taken down.
  RemoteServer remote_;
  bool started_ = false;
  bool ending_ = false;
};

}  // namespace jukora
