// SPDX-License-Identifier: GPL-3.0-or-later
#include "shell/history/history_window.h"

#include <QDateTime>
#include <QHeaderView>
#include <QLabel>
#include <QLocale>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <optional>

#include "history/source_names.h"
#include "shell/local_text.h"

namespace jukora {

namespace {

QString when(std::int64_t time) {
  return QLocale().toString(QDateTime::fromSecsSinceEpoch(time), QLocale::ShortFormat);
}

}  // namespace

HistoryWindow::HistoryWindow(QWidget* parent)
    : QWidget(parent, Qt::Window), title_(new QLabel), summary_(new QLabel), list_(new QTreeWidget) {
  setObjectName("history");
  resize(640, 420);
  QFont bold = title_->font();
  bold.setBold(true);
  title_->setFont(bold);
  title_->setTextInteractionFlags(Qt::TextSelectableByMouse);
  list_->setRootIsDecorated(false);
  list_->setHeaderLabels({"When", "Event", "Score", "From"});
  list_->header()->setSectionResizeMode(QHeaderView::ResizeToContents);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(title_);
  layout->addWidget(summary_);
  layout->addWidget(list_);
}

void HistoryWindow::show_song(const std::string& directory, const std::string& file) {
  setWindowTitle("History of " + qt_text(file));
  title_->setText(qt_text(file) + "   " + qt_text(directory));
  summary_->setText("Reading the history…");
  list_->clear();
}

void HistoryWindow::show_events(const std::vector<HistoryEvent>& events) {
  list_->clear();
  int plays = 0, changes = 0;
  // A play's score is the one its song held then: known once the song has
  // a change on record, before or after the play.
  std::optional<std::int64_t> score;
  for (const HistoryEvent& event : events) {
    if (const auto* change = std::get_if<ScoreChange>(&event.what)) {
      score = change->old_score;
      break;
    }
  }
  QList<QTreeWidgetItem*> items;
  for (const HistoryEvent& event : events) {
    QStringList cells{when(event.time)};
    if (const auto* change = std::get_if<ScoreChange>(&event.what)) {
      ++changes;
      score = change->new_score;
      cells << "Score changed" << QString("%1 → %2").arg(change->old_score).arg(change->new_score)
            << QString::fromUtf8(source_name(change->source));
    } else {
      ++plays;
      const bool cycle = std::get<HandedOver>(event.what).kind == PlayKind::kCycle;
      cells << "Played" << (score ? QString::number(*score) : QString()) << (cycle ? "play cycle" : "played directly");
    }
    items.prepend(new QTreeWidgetItem(cells));
  }
  list_->addTopLevelItems(items);
  summary_->setText(events.empty() ? "Nothing recorded for this song yet."
                                   : QString("Played %1 %2, score changed %3 %4.")
                                         .arg(plays)
                                         .arg(plays == 1 ? "time" : "times")
                                         .arg(changes)
                                         .arg(changes == 1 ? "time" : "times"));
}

}  // namespace jukora
