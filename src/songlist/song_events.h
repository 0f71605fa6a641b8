// SPDX-License-Identifier: GPL-3.0-or-later
// What happened to songs, for the parts that follow the list without
// changing it: the score history, the score mirrors, the D-Bus interface.
// The changes themselves are made elsewhere; whoever makes one tells it here.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <utility>
#include <vector>

namespace jukora {

// Where a score change came from.
// kListening: scores that learn from listening, not the person's hand.
enum class ChangeSource { kWindow, kTray, kCommandLine, kRemote, kDbus, kImport, kUndo, kListening };

struct ScoreChange {
  std::string directory, file;
  std::int64_t old_score = 0, new_score = 0;
  ChangeSource source = ChangeSource::kWindow;
};

// How a song reached the player.
enum class PlayKind { kCycle, kDirect };

struct HandedOver {
  std::string directory, file;
  PlayKind kind = PlayKind::kCycle;
};

class SongEvents {
 public:
  using ScoreListener = std::function<void(const std::vector<ScoreChange>&)>;
  using PlayListener = std::function<void(const HandedOver&)>;

  void on_scores(ScoreListener listener) { score_listeners_.push_back(std::move(listener)); }
  void on_play(PlayListener listener) { play_listeners_.push_back(std::move(listener)); }

  // One user step's changes together (a range stepped, an import).
  void scores_changed(const std::vector<ScoreChange>& changes) const {
    if (changes.empty()) return;
    for (const auto& listener : score_listeners_) listener(changes);
  }
  void handed_over(const HandedOver& song) const {
    for (const auto& listener : play_listeners_) listener(song);
  }

 private:
  std::vector<ScoreListener> score_listeners_;
  std::vector<PlayListener> play_listeners_;
};

}  // namespace jukora
