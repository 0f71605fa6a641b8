// SPDX-License-Identifier: GPL-3.0-or-later
#include "songlist/undo_history.h"

#include <algorithm>
#include <utility>

namespace jukora {

std::uint64_t UndoHistory::push(std::string label, ChangeRecord record, StepKind kind) {
  if (kind == StepKind::kPerson) undone_.clear();
  done_.push_back({next_id_, std::move(label), std::move(record), kind});
  auto of_kind = [kind](const UndoStep& step) { return step.kind == kind; };
  if (static_cast<std::size_t>(std::count_if(done_.begin(), done_.end(), of_kind)) > kMostSteps)
    done_.erase(std::find_if(done_.begin(), done_.end(), of_kind));
  return next_id_++;
}

void UndoHistory::clear() {
  done_.clear();
  undone_.clear();
}

std::optional<UndoStep> UndoHistory::undo() {
  if (done_.empty()) return std::nullopt;
  undone_.push_back(std::move(done_.back()));
  done_.pop_back();
  return undone_.back();
}

std::optional<UndoStep> UndoHistory::redo() {
  if (undone_.empty()) return std::nullopt;
  done_.push_back(std::move(undone_.back()));
  undone_.pop_back();
  return done_.back();
}

UndoStep* UndoHistory::find(std::uint64_t id) {
  for (auto* side : {&done_, &undone_})
    for (UndoStep& step : *side)
      if (step.id == id) return &step;
  return nullptr;
}

}  // namespace jukora
