// SPDX-License-Identifier: GPL-3.0-or-later
// The idle watch over the current songlist file: a change another program
// makes (an editor, a sync tool renaming its copy over it, a second Jukora)
// shows in the window within a second, with the selection and the rows in
// view kept by song. It never reads while a message box is open or a drop's
// walk runs; the read waits for them. It follows the file the session
// announces as the current one.
#pragma once

#include <QFileSystemWatcher>
#include <QObject>
#include <QString>
#include <QTimer>
#include <string>

#include "session/session_watcher.h"

namespace jukora {

class Session;
class SonglistView;

class SonglistWatch : public QObject, private SessionWatcher {
 public:
  SonglistWatch(Session& session, SonglistView& grid, QObject* parent = nullptr);
  ~SonglistWatch() override;

  // Watches `path` from now on.
  void follow(const std::string& path);

 private:
  void session_changed(const SessionNews& news) override;
  // The file or its folder changed: looked at once the writer is done.
  void changed();
  void look();

  Session& session_;
  SonglistView& grid_;
  QFileSystemWatcher watcher_;
  QTimer settle_;
  QString path_;
};

}  // namespace jukora
