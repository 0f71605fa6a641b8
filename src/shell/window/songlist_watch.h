// SPDX-License-Identifier: GPL-3.0-or-later
// The idle watch over the current songlist file: a change another program
// makes (an editor, a sync tool renaming its copy over it, a second Jukora)
// shows in the window within a second, with the selection and the rows in
// view kept by song. It never reads while a message box is open or a drop's
// walk runs; the read waits for them.
#pragma once

#include <QFileSystemWatcher>
#include <QObject>
#include <QString>
#include <QTimer>
#include <functional>
#include <string>

namespace jukora {

class SonglistFiles;
class SonglistView;

class SonglistWatch : public QObject {
 public:
  // `shown` runs once rows were read again, before the view is scrolled.
  SonglistWatch(SonglistFiles& files, SonglistView& grid, std::function<void()> shown, QObject* parent = nullptr);

  // Watches `path` from now on: after the start's read, New, Open, Save As.
  void follow(const std::string& path);

 private:
  // The file or its folder changed: looked at once the writer is done.
  void changed();
  void look();

  SonglistFiles& files_;
  SonglistView& grid_;
  const std::function<void()> shown_;
  QFileSystemWatcher watcher_;
  QTimer settle_;
  QString path_;
};

}  // namespace jukora
