// SPDX-License-Identifier: GPL-3.0-or-later
#include "shell/window/undo_controls.h"

#include <QKeySequence>
#include <QShortcut>
#include <QWidget>

#include "session/session.h"
#include "shell/local_text.h"

namespace jukora {

UndoControls::UndoControls(QWidget& window, Session& session) : session_(session) {
  new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_Z), &window, [this] { undo(); });
  for (const QKeySequence& keys : {QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z), QKeySequence(Qt::CTRL | Qt::Key_Y)})
    new QShortcut(keys, &window, [this] { redo(); });
}

bool UndoControls::undo() { return session_.undo_change(); }

bool UndoControls::redo() { return session_.redo_change(); }

QString UndoControls::undo_step() const { return qt_text(session_.files().undo_label()); }

QString UndoControls::redo_step() const { return qt_text(session_.files().redo_label()); }

std::function<void()> UndoControls::offer() { return session_.offer_undo(); }

}  // namespace jukora
