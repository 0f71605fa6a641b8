// SPDX-License-Identifier: GPL-3.0-or-later
// The Qt program: it builds the Qt pieces (the main window, the tray, the
// dialogs, the remote socket, the D-Bus interface, the notifications, the
// history's SQLite file and the score mirrors of this build) and binds them
// to the session, which is the program itself (session/session.h).
#pragma once

#include <QCoreApplication>
#include <QDBusConnection>
#include <QString>
#include <QTimer>
#include <functional>
#include <memory>

#include "platform/app_folders.h"
#include "session/session.h"
#include "shell/history/history_keeper.h"
#include "shell/qt_event_loop.h"
#include "shell/qt_timer.h"
#include "shell/ratings/ratings_imports.h"
#include "shell/remote/remote_command.h"
#include "shell/tray/tray_buttons.h"
#include "shell/window/file_drop.h"
#include "shell/window/form1.h"
#include "shell/window/mode_menu.h"
#include "shell/window/now_playing.h"
#include "shell/window/songlist_watch.h"
#include "shell/window/undo_controls.h"

namespace jukora {

class Clock;
class DesktopNotifier;
class Dialog;
class DirDialog;
class HistoryStore;
class PlayerLink;
class PlayerLinks;
class QtDesktop;
class ScoreSink;
class SettingsStore;

class App {
 public:
  App(SettingsStore& settings, QtDesktop& desktop, std::unique_ptr<PlayerLinks> players, TrayHost& tray, Clock& clock,
      AppFolders folders);
  ~App();
  App(const App&) = delete;
  App& operator=(const App&) = delete;

  // The program reaches the desktop: it listens for the commands of copies
  // started later at `remote`, offers its D-Bus interface and sends its
  // notifications on `bus`, and ends as Exit does on a termination signal.
  // Before start(), so that a command sent during start-up is taken and
  // waits for it.
  void reach_desktop(const QString& remote, const QDBusConnection& bus);
  // Listens for remote commands at `address` only.
  bool listen(const QString& address);
  // A command to run as if it had come over the socket (the program's own
  // command line).
  void receive(const CommandCall& call);
  // Start-up: the window comes up and loads the songlist; then the
  // commands run, those that came meanwhile first.
  void start();

  // How the program ends once the window has closed, or once Exit has saved
  // what changed: at once, without closing the window.
  std::function<void()> quit = [] { QCoreApplication::exit(0); };

  Session& session() { return session_; }
  Form1& window() { return form_; }
  Songlist& songlist() { return session_.songlist(); }
  SonglistFiles& files() { return session_.files(); }
  PlayModes& play_modes() { return session_.play_modes(); }
  SongEvents& events() { return session_.events(); }
  ModeMenu& mode_menu() { return form_.mode_menu(); }
  UndoControls& undo_controls() { return undo_controls_; }
  Dialog& preferences() { return *preferences_; }
  DirDialog& dir_dialog() { return *dir_dialog_; }
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
  void bind_window();
  // Opens the mode menu at `at` (screen position), its items named as
  // things stand now.
  void show_mode_menu(const QPoint& at);

  SettingsStore& settings_;
  QtDesktop& desktop_;
  TrayHost& tray_;
  const AppFolders folders_;
  const std::unique_ptr<PlayerLinks> players_;
  PlayerLink& link_;
  // First: what was posted to it never outlives the rest.
  QtEventLoop loop_;
  // The play cycle's one-second timer, which the window shows and ticks.
  QTimer cycle_ticks_;
  QtTimer cycle_timer_{cycle_ticks_};
  // Where the score changes go besides the list, where this build has them.
  const std::unique_ptr<ScoreSink> mpd_sink_, tag_sink_;
  const std::unique_ptr<HistoryStore> history_store_;
  Session session_;
  Form1 form_;
  UndoControls undo_controls_;
  SonglistWatch songlist_watch_;
  Dialog* const preferences_;
  DirDialog* const dir_dialog_;
  TrayButtons tray_buttons_;
  FileDrop file_drop_;
  NowPlaying now_playing_;
  RatingsImports ratings_imports_;
  HistoryKeeper history_;
  std::unique_ptr<DesktopNotifier> notifier_;
  // Last: no command comes in while the rest is being taken down.
  RemoteServer remote_;
  bool started_ = false;
  bool ending_ = false;
};

}  // namespace jukora
