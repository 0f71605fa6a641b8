// Jukora Song Manager: keeps a scored songlist and feeds a media player.
#include <QApplication>
#include <QDir>
#include <QLockFile>
#include <QMessageBox>
#include <QStandardPaths>

#include "platform/app_folders.h"
#include "platform/clock.h"
#include "shell/form1.h"
#include "shell/form1_wiring.h"
#include "shell/qt_desktop.h"
#include "shell/qt_settings_store.h"
#include "shell/qt_tray_host.h"
#ifdef _WIN32
#include "player/win32_winamp_link.h"
#else
#include "player/mpd/mpd_link.h"
#include "player/mpv_link.h"
#include "player/player_choice.h"
#endif

int main(int argc, char* argv[]) {
  QApplication app(argc, argv);
  QApplication::setOrganizationName("Jukora");
  QApplication::setApplicationName("Jukora");
  // The program lives on in the tray while its window is hidden; it ends
  // when the main window is closed.
  QApplication::setQuitOnLastWindowClosed(false);

  const QString data = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
  QDir().mkpath(data);
  // A second copy would keep its own table and save it over the first one's
  // changes, with a second set of icons in the tray.
  QLockFile running(QDir(data).filePath("jukora.lock"));
  if (!running.tryLock(0)) {
    QMessageBox::information(nullptr, jukora::kAppTitle, "Jukora Song Manager is already running.");
    return 0;
  }
  const jukora::AppFolders folders{QDir::toNativeSeparators(data).toStdString()};
  jukora::QtSettingsStore settings;
  jukora::QtDesktop desktop;
#ifdef _WIN32
  jukora::Win32WinampLink link;
#else
  jukora::MpvLink mpv(folders);
  jukora::PlayerChoice link(settings, mpv);
  jukora::MpdLink mpd(settings, folders);
  link.add("mpd", mpd);
#endif

  jukora::Form1 form(settings, link, desktop, folders);
  jukora::SystemClock clock;
  jukora::QtTrayHost tray;
  jukora::Form1Wiring wiring(form, tray, clock);
  QObject::connect(&form, &jukora::Form1::unloaded, &app, &QCoreApplication::quit);
  form.Form_Load();
  return app.exec();
}
