// SPDX-License-Identifier: GPL-3.0-or-later
#include "shell/window/file_drop.h"

#include <QAbstractScrollArea>
#include <QDir>
#include <QDropEvent>
#include <QMimeData>
#include <QUrl>
#include <utility>

#include "shell/local_text.h"

namespace jukora {

std::vector<std::string> dropped_paths(const QMimeData& data) {
  std::vector<std::string> paths;
  for (const QUrl& url : data.urls())
    if (url.isLocalFile()) paths.push_back(program_text(QDir::toNativeSeparators(url.toLocalFile())));
  return paths;
}

FileDrop::FileDrop(QAbstractScrollArea& view, Handler on_drop) : on_drop_(std::move(on_drop)) {
  view.viewport()->setAcceptDrops(true);
  view.viewport()->installEventFilter(this);
}

bool FileDrop::eventFilter(QObject* watched, QEvent* event) {
  switch (event->type()) {
    case QEvent::DragEnter:
    case QEvent::DragMove: {
      auto* drag = static_cast<QDropEvent*>(event);
      if (dropped_paths(*drag->mimeData()).empty()) return QObject::eventFilter(watched, event);
      drag->setDropAction(Qt::CopyAction);
      drag->accept();
      return true;
    }
    case QEvent::Drop: {
      auto* drop = static_cast<QDropEvent*>(event);
      std::vector<std::string> paths = dropped_paths(*drop->mimeData());
      if (paths.empty()) return QObject::eventFilter(watched, event);
      drop->setDropAction(Qt::CopyAction);
      drop->accept();
      QMetaObject::invokeMethod(
          this, [this, paths = std::move(paths)] { on_drop_(paths); }, Qt::QueuedConnection);
      return true;
    }
    default:
      return QObject::eventFilter(watched, event);
  }
}

}  // namespace jukora
