// SPDX-License-Identifier: GPL-3.0-or-later
// The steps the user can take back and make again: every change applied
// from the window, the tray, the command line, the remote or an import,
// each with what it did to every song it touched. Kept while the program
// runs; a songlist made current by New, Open or Save As starts afresh.
#pragma once

#include <cstddef>
#include <cstdint>
#include <deque>
#include <optional>
#include <string>

#include "songlist/songlist_change.h"

namespace jukora {

// Whose step it is: the person's own, or one that listening made.
enum class StepKind { kPerson, kListening };

struct UndoStep {
  // Names the step for as long as it is kept, whatever it moves between.
  std::uint64_t id = 0;
  std::string label;
  ChangeRecord record;
  StepKind kind = StepKind::kPerson;
};

class UndoHistory {
 public:
  // The oldest steps of a kind go once there are more of it: listening
  // never takes the places of the person's own steps.
  static constexpr std::size_t kMostSteps = 256;

  // A new step. After one of the person's, what was undone can no longer be
  // redone; a listening step leaves the person's redo as it is.
  std::uint64_t push(std::string label, ChangeRecord record, StepKind kind = StepKind::kPerson);
  void clear();

  bool can_undo() const { return !done_.empty(); }
  bool can_redo() const { return !undone_.empty(); }
  // The label of the step Undo or Redo would take; empty when there is none.
  std::string undo_label() const { return done_.empty() ? std::string() : done_.back().label; }
  std::string redo_label() const { return undone_.empty() ? std::string() : undone_.back().label; }
  // The id of the step Undo would take; 0 when there is none.
  std::uint64_t undo_step() const { return done_.empty() ? 0 : done_.back().id; }

  // The step undo takes back, now on the redo side; and the other way.
  std::optional<UndoStep> undo();
  std::optional<UndoStep> redo();

  // The step of this id, wherever it is; nothing once it has gone.
  UndoStep* find(std::uint64_t id);

 private:
  std::deque<UndoStep> done_;
  std::deque<UndoStep> undone_;
  std::uint64_t next_id_ = 1;
};

}  // namespace jukora
