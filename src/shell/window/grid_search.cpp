// SPDX-License-Identifier: GPL-3.0-or-later
#include "shell/window/grid_search.h"

#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <algorithm>

#include "shell/local_text.h"
#include "shell/window/search_fold.h"
#include "shell/window/songlist_model.h"
#include "songlist/row_selection.h"
#include "songlist/songlist.h"

namespace jukora {

namespace {

bool holds(const std::vector<int>& rows, int row) { return std::binary_search(rows.begin(), rows.end(), row); }

// The count keeps one width, so that the strip does not shift as it changes.
constexpr const char* kWidestCount = "888888 of 888888 songs";

}  // namespace

GridSearch::GridSearch(Songlist& songlist, SonglistModel& model, QWidget* window)
    : QObject(window),
      songlist_(songlist),
      model_(model),
      search_(fold_for_search),
      field_(new QLineEdit(window)),
      count_(new QLabel(window)) {
  field_->setObjectName("txtSearch");
  field_->setPlaceholderText("Search");
  field_->setClearButtonEnabled(true);
  field_->setToolTip(
      "Show only the songs whose folder and file name hold every word typed (Ctrl+F).  Esc shows every song again.");
  field_->installEventFilter(this);
  count_->setObjectName("lblFound");
  count_->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
  count_->hide();
  connect(field_, &QLineEdit::textChanged, this, &GridSearch::refilter);
}

int GridSearch::place(const QRect& strip) {
  const int width = std::min(field_->fontMetrics().averageCharWidth() * 24, std::max(0, strip.width() / 2));
  field_->setGeometry(strip.right() + 1 - width, strip.top(), width, strip.height());
  const int gap = count_->fontMetrics().averageCharWidth();
  const int count_width = count_->fontMetrics().horizontalAdvance(kWidestCount);
  count_->setGeometry(field_->x() - gap - count_width, strip.top(), count_width, strip.height());
  return count_->x();
}

void GridSearch::follow() {
  // The songs stay picked while the list and the cursor do.
  if (picked_ && (picked_->revision != songlist_.revision() || picked_->chosen.anchor != songlist_.Row()))
    picked_.reset();
  if (!search_.active()) return;
  const std::vector<int>& shown = search_.shown(songlist_);
  const int row = songlist_.Row();
  if (row != 0 && !holds(shown, row)) {
    // The list is shown whole around the song that became current.
    reveal(row);
    return;
  }
  if (!holds(shown, songlist_.RowSel())) songlist_.SetRowSel(row);
  model_.show_rows(shown);
  show_count();
}

std::optional<ChosenRows> GridSearch::chosen() {
  if (search_.active()) return shown_rows_in_range(songlist_, search_.shown(songlist_));
  if (picked_ && picked_->revision == songlist_.revision() && picked_->chosen.anchor == songlist_.Row())
    return picked_->chosen;
  return std::nullopt;
}

const std::vector<int>* GridSearch::shown_rows() { return search_.active() ? &search_.shown(songlist_) : nullptr; }

void GridSearch::keep_cursor_at(int row) {
  if (!search_.active()) return;
  const std::vector<int>& shown = search_.shown(songlist_);
  const int count = static_cast<int>(shown.size());
  songlist_.SetRow(count == 0 ? 0 : shown[static_cast<std::size_t>(std::clamp(row, 1, count) - 1)]);
}

void GridSearch::reveal(int row) {
  if (!search_.active() || holds(search_.shown(songlist_), row)) return;
  {
    const QSignalBlocker quiet(field_);
    field_->clear();
  }
  search_.set_query({});
  end(std::nullopt);
}

void GridSearch::clear() { field_->clear(); }

void GridSearch::refilter() {
  // What was selected among the rows shown until now.
  const std::optional<ChosenRows> before = search_.active() ? chosen() : std::nullopt;
  search_.set_query(program_text(field_->text()));
  if (!search_.active()) {
    end(before);
    emit refiltered();
    return;
  }
  picked_.reset();
  const std::vector<int>& shown = search_.shown(songlist_);
  model_.show_rows(shown);
  // The cursor stays on its song while the song is shown; else on the first found.
  if (!holds(shown, songlist_.Row()))
    songlist_.SetRow(shown.empty() ? 0 : shown.front());
  else if (!holds(shown, songlist_.RowSel()))
    songlist_.SetRowSel(songlist_.Row());
  show_count();
  emit refiltered();
}

void GridSearch::end(const std::optional<ChosenRows>& selected) {
  model_.show_all();
  count_->hide();
  picked_.reset();
  // Shown rows that were not neighbours in the whole list stay selected as
  // they were; neighbours are the range Row..RowSel itself.
  if (selected && !selected->rows.empty() &&
      selected->rows.back() - selected->rows.front() + 1 != static_cast<int>(selected->rows.size()))
    picked_ = Picked{*selected, songlist_.revision()};
}

void GridSearch::show_count() {
  const int rows = songlist_.Rows() - 1;
  const int songs = songlist_.holds_no_song() ? 0 : rows;
  count_->setText(QString("%1 of %2 songs").arg(model_.rows_shown().size()).arg(songs));
  count_->show();
}

bool GridSearch::eventFilter(QObject* watched, QEvent* event) {
  // The rows are folded as the user comes to type, not at the first key.
  if (watched == field_ && event->type() == QEvent::FocusIn) search_.fold_ahead(songlist_);
  if (watched != field_ || event->type() != QEvent::KeyPress) return QObject::eventFilter(watched, event);
  switch (static_cast<QKeyEvent*>(event)->key()) {
    case Qt::Key_Escape:
      clear();
      emit leave_field();
      return true;
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Down:
      emit leave_field();
      return true;
    default:
      return QObject::eventFilter(watched, event);
  }
}

}  // namespace jukora
