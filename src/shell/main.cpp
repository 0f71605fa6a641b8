// SPDX-License-Identifier: GPL-3.0-or-later
// Jukora Song Manager: keeps a scored songlist and feeds a media player.
#include <QApplication>
#include <QDir>
#include <QLockFile>
#include <QStandardPaths>
#include <cstdio>

#include "platform/app_folders.h"
#include "platform/clean_path.h"
#include "platform/clock.h"
#include "platform/settings_keys.h"
#include "ratings/source_choice.h"
#include "shell/app.h"
#include "shell/command_line.h"
#include "shell/local_text.h"
#include "shell/player_links.h"
#include "shell/qt_desktop.h"
#include "shell/qt_settings_store.h"
#include "shell/ratings/import_without_window.h"
#include "shell/remote/remote_command.h"
#include "shell/tray/qt_tray_host.h"

int main(int argc, char* argv[]) {
  QApplication::setOrganizationName("Jukora");
  QApplication::setApplicationName("Jukora");
  QApplication::setApplicationVersion(JUKORA_VERSION);
  // Windows and the menu entry are one program to the desktop.
  QApplication::setDesktopFileName("org.jukora.Jukora");
  jukora::CommandLine command_line = jukora::read_command_line(argc, argv);
  const bool importing = command_line.command && command_line.command->command == jukora::Command::kImportRatings;
  // The running copy reads the path from another working folder, and the
  // list holds one spelling of each path.
  if (importing)
    command_line.command->argument =
        jukora::absolute_source_argument(command_line.command->argument, jukora::working_folder());

  const QString data = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
  QDir().mkpath(data);
  const jukora::AppFolders folders{jukora::program_text(QDir::toNativeSeparators(data))};
  const QString remote = jukora::remote_address(folders.data);
  // A second copy would keep its own table and save it over the first one's
  // changes, with a second set of icons in the tray.
  QLockFile running(QDir(data).filePath("jukora.lock"));
  if (!running.tryLock(0)) {
    // Started again, the program brings the running copy's window to the
    // front, as --show does.
    if (!command_line.command) {
      std::fputs("Jukora Song Manager is already running.\n", stderr);
      command_line.command = jukora::CommandCall(jukora::Command::kShow);
    }
    // The desktop lets a window come forward only with the token it gave
    // the program started (Wayland): the running copy gets it.
    if (command_line.command->command == jukora::Command::kShow)
      command_line.command->activation_token = qEnvironmentVariable("XDG_ACTIVATION_TOKEN").toStdString();
    QCoreApplication terminal(argc, argv);
    return jukora::forward_remote_command(remote, *command_line.command, std::chrono::seconds(5));
  }
  // With none running, the import needs no window: it is done here, holding the lock.
  if (importing) {
    QCoreApplication terminal(argc, argv);
    return jukora::import_ratings_without_window(*command_line.command, folders);
  }
  QApplication app(argc, argv);
  // The program lives on in the tray while its window is hidden; it ends
  // when the main window is closed.
  QApplication::setQuitOnLastWindowClosed(false);

  jukora::QtSettingsStore settings;
  jukora::QtDesktop desktop;
  jukora::QtTrayHost tray;
  jukora::SystemClock clock;
  jukora::App program(settings, desktop, jukora::make_player_link(settings, folders, desktop), tray, clock, folders);
  // Reaching out before start-up, so that a command sent meanwhile is taken
  // and runs once the window is loaded.
  program.reach_desktop(remote, QDBusConnection::sessionBus());
  if (command_line.command) program.receive(*command_line.command);
  program.start();
  // A signal during start-up ends every event loop running then; a later
  // one would wait for nothing.
  if (program.ending()) return 0;
  return app.exec();
}
