// Jukora Song Manager: keeps a scored songlist and feeds a media player.
#include <QApplication>
#include <QDir>
#include <QHeaderView>
#include <QStandardPaths>
#include <QTableView>

#include "platform/app_folders.h"
#include "platform/desktop.h"
#include "shell/qt_desktop.h"
#include "shell/qt_settings_store.h"
#include "shell/songlist_model.h"
#include "songlist/recompute.h"
#include "songlist/songlist.h"
#include "songlist/songlist_files.h"

int main(int argc, char* argv[]) {
  QApplication app(argc, argv);
  QApplication::setOrganizationName("Jukora");
  QApplication::setApplicationName("Jukora");

  QString data = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
  QDir().mkpath(data);
  jukora::AppFolders folders{QDir::toNativeSeparators(data).toStdString()};
  jukora::QtSettingsStore settings;
  jukora::Songlist songlist;
  jukora::DialogMemory dialog;
  QTableView view;
  jukora::QtDesktop desktop(&view);
  jukora::SonglistFiles files(songlist, settings, desktop, folders, dialog);
  jukora::SonglistModel model(songlist);

  jukora::setup_grid(songlist, settings);
  files.show_captions();
  files.read_songlist();
  model.sync();
  view.setModel(&model);
  view.verticalHeader()->hide();
  view.resize(800, 600);
  view.show();
  return app.exec();
}
