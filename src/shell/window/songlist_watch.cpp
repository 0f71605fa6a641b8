// SPDX-License-Identifier: GPL-3.0-or-later
#include "shell/window/songlist_watch.h"

#include <QApplication>
#include <QFileInfo>
#include <utility>

#include "session/session.h"
#include "shell/local_text.h"
#include "shell/window/songlist_model.h"
#include "shell/window/songlist_view.h"

namespace jukora {

namespace {

// A writer's burst (a sync tool's temporary file and rename, an editor's
// write and its touch) ends well within this; a second stays the limit.
constexpr int kSettleMs = 150;

}  // namespace

SonglistWatch::SonglistWatch(Session& session, SonglistView& grid, QObject* parent)
    : QObject(parent), session_(session), grid_(grid) {
  settle_.setSingleShot(true);
  settle_.setInterval(kSettleMs);
  connect(&settle_, &QTimer::timeout, this, &SonglistWatch::look);
  connect(&watcher_, &QFileSystemWatcher::fileChanged, this, &SonglistWatch::changed);
  // A file removed, or renamed over, drops out of the watch; its folder
  // tells when it is back.
  connect(&watcher_, &QFileSystemWatcher::directoryChanged, this, [this] {
    if (!watcher_.files().contains(path_)) changed();
  });
  session_.watch(*this);
}

SonglistWatch::~SonglistWatch() { session_.unwatch(*this); }

void SonglistWatch::session_changed(const SessionNews& news) {
  if (news.file) follow(session_.files().current_path());
}

void SonglistWatch::follow(const std::string& path) {
  const QString wanted = qt_text(path);
  if (wanted == path_ && watcher_.files().contains(path_)) return;
  if (!watcher_.files().isEmpty()) watcher_.removePaths(watcher_.files());
  if (!watcher_.directories().isEmpty()) watcher_.removePaths(watcher_.directories());
  path_ = wanted;
  watcher_.addPath(QFileInfo(path_).absolutePath());
  if (QFileInfo::exists(path_)) watcher_.addPath(path_);
}

void SonglistWatch::changed() {
  // What now stands at the path is another file: it is watched anew.
  if (!watcher_.files().contains(path_) && QFileInfo::exists(path_)) watcher_.addPath(path_);
  settle_.start();
}

void SonglistWatch::look() {
  // Rows read again under an open box would move under the code that opened it.
  if (QApplication::activeModalWidget() || QApplication::activePopupWidget()) return settle_.start();
  // A search shows some rows only: the top row is kept as the song it shows.
  const auto* model = dynamic_cast<const SonglistModel*>(grid_.model());
  if (!model) return;
  int top = model->data_row(grid_.rowAt(0) + 1);
  if (!session_.reread_if_changed(top)) return;
  const int shown = model->shown_row(top);
  if (shown >= 1 && shown <= model->rowCount())
    grid_.scrollTo(model->index(shown - 1, 0), QAbstractItemView::PositionAtTop);
}

}  // namespace jukora
