// SPDX-License-Identifier: GPL-3.0-or-later
// "Statistics": the shape of the collection in four charts: songs per
// score, plays and score changes per week over the last year, and the
// selected song's score over time. It draws what it is given; the counts
// come from the list and from the history's worker.
#pragma once

#include <QWidget>
#include <array>
#include <string>
#include <vector>

#include "history/history_event.h"
#include "history/songs_per_score.h"

class QChart;
class QChartView;

namespace jukora {

class StatisticsWindow : public QWidget {
  Q_OBJECT

 public:
  enum Chart { kSongsPerScore, kPlaysPerWeek, kChangesPerWeek, kSongScore, kCharts };

  explicit StatisticsWindow(QWidget* parent = nullptr);

  void show_scores(const std::vector<ScoreBar>& bars);
  void show_activity(const WeeklyActivity& activity);
  // The song's events, oldest first; its score now ends the line at `now`.
  // An empty file: no song is selected.
  void show_song(const std::string& file, const std::vector<HistoryEvent>& events, std::int64_t score,
                 std::int64_t now);

  QChart& chart(Chart which);

 private:
  void show_weeks(Chart which, const WeeklyActivity& activity, const std::vector<int>& counts);

  std::array<QChartView*, kCharts> views_{};
};

}  // namespace jukora
