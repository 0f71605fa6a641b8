// SPDX-License-Identifier: GPL-3.0-or-later
// "History…": one song's history, newest first: when it was played and how
// its score moved, and where each change came from.
#pragma once

#include <QWidget>
#include <string>
#include <vector>

#include "history/history_event.h"

class QLabel;
class QTreeWidget;

namespace jukora {

class HistoryWindow : public QWidget {
  Q_OBJECT

 public:
  explicit HistoryWindow(QWidget* parent = nullptr);

  // The song whose history is being read; the list waits for it.
  void show_song(const std::string& directory, const std::string& file);
  // The song's events, oldest first, as the store answers them.
  void show_events(const std::vector<HistoryEvent>& events);

  QTreeWidget& list() { return *list_; }
  QLabel& summary() { return *summary_; }

 private:
  QLabel* const title_;
  QLabel* const summary_;
  QTreeWidget* const list_;
};

}  // namespace jukora
