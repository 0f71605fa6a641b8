// SPDX-License-Identifier: GPL-3.0-or-later
// Files and folders dragged from a file manager and dropped on a view,
// handed over as local paths in the order the drag carries them.
#pragma once

#include <QObject>
#include <functional>
#include <string>
#include <vector>

class QAbstractScrollArea;
class QMimeData;

namespace jukora {

// The local files a drag carries, with native separators; other URLs are
// passed over.
std::vector<std::string> dropped_paths(const QMimeData& data);

class FileDrop : public QObject {
 public:
  using Handler = std::function<void(const std::vector<std::string>&)>;

  // Accepts drops of local files on `view`; `on_drop` runs once the drop
  // has been acknowledged, so the file manager is not kept waiting while a
  // large tree is walked.
  FileDrop(QAbstractScrollArea& view, Handler on_drop);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  Handler on_drop_;
};

}  // namespace jukora
