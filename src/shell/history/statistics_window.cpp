// SPDX-License-Identifier: GPL-3.0-or-later
#include "shell/history/statistics_window.h"

#include <QAreaSeries>
#include <QBarCategoryAxis>
#include <QBarSeries>
#include <QBarSet>
#include <QChart>
#include <QChartView>
#include <QDateTime>
#include <QDateTimeAxis>
#include <QGridLayout>
#include <QLineSeries>
#include <QScatterSeries>
#include <QValueAxis>
#include <algorithm>

#include "shell/local_text.h"

namespace jukora {

namespace {

constexpr const char* kTitles[] = {"Songs per score", "Plays per week, last 12 months",
                                   "Score changes per week, last 12 months", "Score over time"};

// A count axis from 0 whose ticks fall on whole numbers.
QValueAxis* count_axis(qreal top) {
  auto* axis = new QValueAxis;
  axis->setLabelFormat("%d");
  if (top < 5) {
    axis->setRange(0, std::max<qreal>(top, 1));
    axis->setTickCount(static_cast<int>(std::max<qreal>(top, 1)) + 1);
  } else {
    axis->setRange(0, top);
    axis->applyNiceNumbers();
  }
  return axis;
}

QDateTimeAxis* time_axis(const char* format, int ticks) {
  auto* axis = new QDateTimeAxis;
  axis->setFormat(format);
  axis->setTickCount(ticks);
  return axis;
}

// Empties `chart` for new series and axes.
QChart* cleared(QChart* chart) {
  chart->removeAllSeries();
  for (QAbstractAxis* axis : chart->axes()) {
    chart->removeAxis(axis);
    delete axis;
  }
  return chart;
}

void attach(QChart* chart, QAbstractSeries* series, QAbstractAxis* x, QAbstractAxis* y) {
  chart->addSeries(series);
  chart->addAxis(x, Qt::AlignBottom);
  chart->addAxis(y, Qt::AlignLeft);
  series->attachAxis(x);
  series->attachAxis(y);
}

qreal ms(std::int64_t seconds) { return static_cast<qreal>(seconds) * 1000; }

}  // namespace

StatisticsWindow::StatisticsWindow(QWidget* parent) : QWidget(parent, Qt::Window) {
  setObjectName("statistics");
  setWindowTitle("Statistics");
  resize(1100, 760);
  auto* layout = new QGridLayout(this);
  for (int i = 0; i < kCharts; ++i) {
    auto* chart = new QChart;
    chart->setTitle(kTitles[i]);
    QFont title = chart->titleFont();
    title.setPointSizeF(title.pointSizeF() * 1.25);
    title.setBold(true);
    chart->setTitleFont(title);
    chart->legend()->hide();
    chart->setMargins(QMargins(4, 4, 4, 4));
    views_[i] = new QChartView(chart);
    views_[i]->setRenderHint(QPainter::Antialiasing);
    views_[i]->setMinimumSize(360, 260);
    layout->addWidget(views_[i], i / 2, i % 2);
  }
}

QChart& StatisticsWindow::chart(Chart which) { return *views_[which]->chart(); }

void StatisticsWindow::show_scores(const std::vector<ScoreBar>& bars) {
  QChart* chart = cleared(&this->chart(kSongsPerScore));
  auto* songs = new QBarSet("Songs");
  QStringList labels;
  int most = 0;
  // A bar of several scores is named by its lowest: "10–14" under each of
  // twenty bars would not fit.
  for (const ScoreBar& bar : bars) {
    *songs << bar.songs;
    most = std::max(most, bar.songs);
    labels << QString::number(bar.low);
  }
  auto* series = new QBarSeries;
  series->append(songs);
  series->setBarWidth(0.8);
  auto* scores = new QBarCategoryAxis;
  scores->append(labels);
  const std::int64_t width = bars.empty() ? 1 : bars.front().high - bars.front().low + 1;
  scores->setTitleText(width == 1 ? QString("Score")
                                  : QString("Score (%1 scores a bar, from the one named)").arg(width));
  QValueAxis* counts = count_axis(most);
  counts->setTitleText("Songs");
  attach(chart, series, scores, counts);
}

void StatisticsWindow::show_activity(const WeeklyActivity& activity) {
  show_weeks(kPlaysPerWeek, activity, activity.plays);
  show_weeks(kChangesPerWeek, activity, activity.score_changes);
}

void StatisticsWindow::show_weeks(Chart which, const WeeklyActivity& activity, const std::vector<int>& counts) {
  QChart* chart = cleared(&this->chart(which));
  // Each week a step, drawn from its first day to its last.
  auto* line = new QLineSeries;
  QList<QPointF> points;
  int most = 0;
  for (std::size_t week = 0; week < counts.size(); ++week) {
    const std::int64_t start = activity.first_week + static_cast<std::int64_t>(week) * kSecondsPerWeek;
    points << QPointF(ms(start), counts[week]) << QPointF(ms(start + kSecondsPerWeek), counts[week]);
    most = std::max(most, counts[week]);
  }
  line->replace(points);
  auto* area = new QAreaSeries(line);
  line->setParent(area);
  QValueAxis* y = count_axis(most);
  y->setTitleText(which == kPlaysPerWeek ? "Plays" : "Changes");
  attach(chart, area, time_axis("MMM yyyy", 7), y);
}

void StatisticsWindow::show_song(const std::string& file, const std::vector<HistoryEvent>& events, std::int64_t score,
                                 std::int64_t now) {
  QChart* chart = cleared(&this->chart(kSongScore));
  if (file.empty()) {
    chart->setTitle("Score over time: select a song in the list");
    return;
  }
  auto* line = new QLineSeries;
  QList<QPointF> points, learned;
  for (const HistoryEvent& event : events) {
    if (const auto* change = std::get_if<ScoreChange>(&event.what)) {
      points << QPointF(ms(event.time), change->old_score) << QPointF(ms(event.time), change->new_score);
      if (change->source == ChangeSource::kListening) learned << points.back();
    }
  }
  chart->setTitle(QString(points.empty() ? "Score of %1: no change recorded yet" : "Score of %1 over time")
                      .arg(qt_text(file).toHtmlEscaped()));
  // The line goes on at today's score; without changes it is that alone.
  // Changes made in one sitting get ten minutes of axis, led in at the
  // score before them, so that its times tell apart.
  qreal start = points.empty() ? ms(now - 30 * 24 * 3600) : points.front().x();
  if (points.empty()) points << QPointF(start, score);
  if (const qreal shortest = ms(now - 10 * 60); start > shortest) {
    start = shortest;
    points.prepend(QPointF(start, points.front().y()));
  }
  points << QPointF(ms(now), score);
  line->replace(points);
  qreal low = score, high = score;
  for (const QPointF& point : points) {
    low = std::min(low, point.y());
    high = std::max(high, point.y());
  }
  auto* y = new QValueAxis;
  y->setLabelFormat("%d");
  y->setRange(low - 1, high + 1);
  y->setTitleText("Score");
  // Ticks on whole scores: one a score over a short span, nice steps over a long one.
  if (high - low + 3 <= 10) {
    y->setTickCount(static_cast<int>(high - low) + 3);
  } else {
    y->applyNiceNumbers();
  }
  // A song scored within the last days gets the hours on its axis, not one date five times.
  const qreal span_days = (ms(now) - start) / (24 * 3600 * 1000.0);
  QAbstractAxis* x = time_axis(span_days < 1 ? "hh:mm" : span_days < 4 ? "d MMM hh:mm" : "d MMM yy", 5);
  attach(chart, line, x, y);
  // The steps listening made are marked apart from the person's own.
  chart->legend()->setVisible(!learned.isEmpty());
  line->setName("Score");
  if (learned.isEmpty()) return;
  auto* marks = new QScatterSeries;
  marks->setName("From listening");
  marks->setMarkerSize(9);
  marks->replace(learned);
  chart->addSeries(marks);
  marks->attachAxis(x);
  marks->attachAxis(y);
}

}  // namespace jukora
