// SPDX-License-Identifier: GPL-3.0-or-later
#include "shell/window/undo_controls.h"

#include <QKeySequence>
#include <QShortcut>
#include <QWidget>
#include <cstdint>
#include <utility>

#include "shell/local_text.h"
#include "songlist/songlist_files.h"

namespace jukora {

UndoControls::UndoControls(QWidget& window, SonglistFiles& files, std::function<void()> shown)
    : files_(files), shown_(std::move(shown)) {
  new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_Z), &window, [this] { undo(); });
  for (const QKeySequence keys : {QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z), QKeySequence(Qt::CTRL | Qt::Key_Y)})
    new QShortcut(keys, &window, [this] { redo(); });
}

bool UndoControls::undo() {
  if (!files_.undo()) return false;
  shown_();
  return true;
}

bool UndoControls::redo() {
  if (!files_.redo()) return false;
  shown_();
  return true;
}

QString UndoControls::undo_step() const { return qt_text(files_.undo_label()); }

QString UndoControls::redo_step() const { return qt_text(files_.redo_label()); }

std::function<void()> UndoControls::offer() {
  const std::uint64_t step = files_.undo_step();
  if (step == 0) return {};
  return [this, step] {
    if (files_.undo(step)) shown_();
  };
}

}  // namespace jukora
