// Jukora Song Manager: keeps a scored songlist and feeds a media player.
#include <QApplication>
#include <QDir>
#include <QStandardPaths>

#include "platform/app_folders.h"
#include "shell/form1.h"
#include "shell/qt_desktop.h"
#include "shell/qt_settings_store.h"
#include "winamp/winamp_link.h"

namespace {

// Stands in for the player link until the mpv backend is part of the
// build: it finds no running player and starts nothing.
class NoPlayerLink : public jukora::WinampLink {
 public:
  explicit NoPlayerLink(const jukora::AppFolders& folders) : folders_(folders) {}

  jukora::PlayerHandle find_winamp() override { return jukora::kNoPlayer; }
  long version(jukora::PlayerHandle) override { return 0; }
  long write_playlist(jukora::PlayerHandle) override { return -1; }
  int play_status(jukora::PlayerHandle) override { return 0; }
  void stop(jukora::PlayerHandle) override {}
  void start(const std::string&) override {}
  void start_with_file(const std::string&, const std::string&) override {}
  void start_with_playlist(const std::string&) override {}
  std::string executable_path(const std::string& winamp_dir) const override {
    return jukora::join_path(winamp_dir, "mpv");
  }
  std::string playlist_path(const std::string&) const override {
    return jukora::join_path(folders_.data, "winamp.m3u");
  }

 private:
  const jukora::AppFolders& folders_;
};

}  // namespace

int main(int argc, char* argv[]) {
  QApplication app(argc, argv);
  QApplication::setOrganizationName("Jukora");
  QApplication::setApplicationName("Jukora");
  // The program lives on in the tray while its window is hidden; it ends
  // when the main window is closed.
  QApplication::setQuitOnLastWindowClosed(false);

  const QString data = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
  QDir().mkpath(data);
  const jukora::AppFolders folders{QDir::toNativeSeparators(data).toStdString()};
  jukora::QtSettingsStore settings;
  jukora::QtDesktop desktop;
  NoPlayerLink link(folders);

  jukora::Form1 form(settings, link, desktop, folders);
  QObject::connect(&form, &jukora::Form1::unloaded, &app, &QCoreApplication::quit);
  form.Form_Load();
  return app.exec();
}
