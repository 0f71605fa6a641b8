// SPDX-License-Identifier: GPL-3.0-or-later
// Undo and Redo in the window: Ctrl+Z takes the last change to the songlist
// back, Ctrl+Shift+Z and Ctrl+Y make it again. The mode menu's items name
// the step each would take, and a score's notification offers to take back
// the change it tells of.
#pragma once

#include <QString>
#include <functional>

class QWidget;

namespace jukora {

class Session;

class UndoControls {
 public:
  UndoControls(QWidget& window, Session& session);

  // False when there was nothing to take back, or to make again.
  bool undo();
  bool redo();

  // What the mode menu's Undo and Redo would take ("Increment of b.mp3");
  // empty when there is nothing.
  QString undo_step() const;
  QString redo_step() const;

  // What a notification's Undo runs: Undo of the step on top now, which
  // does nothing once another step was taken since. Empty when there is no
  // step.
  std::function<void()> offer();

 private:
  Session& session_;
};

}  // namespace jukora
