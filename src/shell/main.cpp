// SPDX-License-Identifier: GPL-3.0-or-later
// Jukora Song Manager: keeps a scored songlist and feeds a media player.
#include <QApplication>
#include <QDir>
#include <QLockFile>
#include <QMessageBox>
#include <QStandardPaths>

#include "platform/app_folders.h"
#include "platform/clock.h"
#include "platform/settings_keys.h"
#include "shell/command_line.h"
#include "shell/desktop_notifier.h"
#include "shell/dialog.h"
#include "shell/form1.h"
#include "shell/form1_wiring.h"
#include "shell/local_text.h"
#include "shell/qt_desktop.h"
#include "shell/qt_settings_store.h"
#include "shell/qt_tray_host.h"
#include "shell/remote_command.h"
#ifdef _WIN32
#include "player/winamp/win32_winamp_window.h"
#include "player/winamp/winamp_link.h"
#else
#include "player/command_line.h"
#include "player/mpd/mpd_link.h"
#include "player/mpris/mpris_link.h"
#include "player/mpv/mpv_link.h"
#include "player/player_choice.h"
#endif

int main(int argc, char* argv[]) {
  QApplication::setOrganizationName("Jukora");
  QApplication::setApplicationName("Jukora");
  QApplication::setApplicationVersion(JUKORA_VERSION);
  // Windows and the menu entry are one program to the desktop.
  QApplication::setDesktopFileName("org.jukora.Jukora");
  const jukora::CommandLine command_line = jukora::read_command_line(argc, argv);

  const QString data = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
  QDir().mkpath(data);
  const jukora::AppFolders folders{jukora::program_text(QDir::toNativeSeparators(data))};
  const QString remote = jukora::remote_address(folders.data);
  // A second copy would keep its own table and save it over the first one's
  // changes, with a second set of icons in the tray.
  QLockFile running(QDir(data).filePath("jukora.lock"));
  if (!running.tryLock(0)) {
    if (command_line.command) {
      QCoreApplication terminal(argc, argv);
      return jukora::forward_remote_command(remote, *command_line.command, std::chrono::seconds(5)) ? 0 : 1;
    }
    QApplication app(argc, argv);
    QMessageBox::information(nullptr, jukora::kAppTitle, "Jukora Song Manager is already running.");
    return 0;
  }
  QApplication app(argc, argv);
  // The program lives on in the tray while its window is hidden; it ends
  // when the main window is closed.
  QApplication::setQuitOnLastWindowClosed(false);

  jukora::QtSettingsStore settings;
  jukora::QtDesktop desktop;
#ifdef _WIN32
  jukora::Win32WinampWindow window;
  const auto winamp = jukora::make_winamp_link(window);
  jukora::PlayerLink& link = *winamp;
#else
  const auto mpv = jukora::make_mpv_link(folders);
  // The program's own mpv shows up on the bus too when mpv's MPRIS script is
  // installed; it is never the user's player.
  const auto mpris = jukora::make_mpris_link(settings, folders, [&mpv](long pid) {
    return jukora::process_has_argument(pid, "--input-ipc-server=" + mpv->socket_path());
  });
  mpris->tell = [&desktop](const std::string& text) { desktop.notify(text); };
  jukora::PlayerChoice link(settings, *mpv);
  link.add("mpris", *mpris);
  const auto mpd = jukora::make_mpd_link(settings, folders);
  link.add("mpd", *mpd);
#endif

  jukora::Form1 form(settings, link, desktop, folders);
#ifndef _WIN32
  form.preferences().set_mpris_directory(mpris.get());
#endif
  jukora::SystemClock clock;
  jukora::QtTrayHost tray;
  jukora::Form1Wiring wiring(form, tray, clock);
  jukora::DesktopNotifier notifier(
      desktop, QDBusConnection::sessionBus(),
      {[&settings] { return jukora::read_notifications(settings); },
       [&tray](const QString& text) { return tray.show_message(jukora::program_text(text)); },
       [&form](const QString& text) { form.show_status(text); }});
  QObject::connect(&form, &jukora::Form1::unloaded, &app, &QCoreApplication::quit);
  // Listening before start-up, so that a command sent meanwhile is taken
  // and runs once the window is loaded.
  jukora::RemoteServer remote_commands(
      [&wiring](jukora::RemoteCommand command) { wiring.run_remote_command(command); });
  remote_commands.listen(remote);
  if (command_line.command) remote_commands.receive(*command_line.command);
  form.Form_Load();
  remote_commands.start_acting();
  return app.exec();
}
