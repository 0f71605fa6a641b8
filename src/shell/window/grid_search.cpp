// SPDX-License-Identifier: GPL-3.0-or-later
#include "shell/window/grid_search.h"

#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <algorithm>

#include "session/session.h"
#include "shell/local_text.h"

namespace jukora {

namespace {

// The count keeps one width, so that the strip does not shift as it changes.
constexpr const char* kWidestCount = "888888 of 888888 songs";

}  // namespace

GridSearch::GridSearch(Session& session, QWidget* window)
    : QObject(window), session_(session), field_(new QLineEdit(window)), count_(new QLabel(window)) {
  field_->setObjectName("txtSearch");
  field_->setPlaceholderText("Search");
  field_->setClearButtonEnabled(true);
  field_->setToolTip(
      "Show only the songs whose folder and file name hold every word typed (Ctrl+F).  Esc shows every song again.");
  field_->installEventFilter(this);
  count_->setObjectName("lblFound");
  count_->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
  count_->hide();
  connect(field_, &QLineEdit::textChanged, this, [this] { session_.search(program_text(field_->text())); });
}

int GridSearch::place(const QRect& strip) {
  const int width = std::min(field_->fontMetrics().averageCharWidth() * 24, std::max(0, strip.width() / 2));
  field_->setGeometry(strip.right() + 1 - width, strip.top(), width, strip.height());
  const int gap = count_->fontMetrics().averageCharWidth();
  const int count_width = count_->fontMetrics().horizontalAdvance(kWidestCount);
  count_->setGeometry(field_->x() - gap - count_width, strip.top(), count_width, strip.height());
  return count_->x();
}

void GridSearch::show_count() {
  const SearchFilter& search = session_.search_filter();
  if (search.query().empty() && !field_->text().isEmpty()) {
    const QSignalBlocker quiet(field_);
    field_->clear();
  }
  if (!search.active()) return count_->hide();
  count_->setText(qt_text(search.count_text()));
  count_->show();
}

void GridSearch::clear() { field_->clear(); }

bool GridSearch::eventFilter(QObject* watched, QEvent* event) {
  // The rows are folded as the user comes to type, not at the first key.
  if (watched == field_ && event->type() == QEvent::FocusIn) session_.search_filter().fold_ahead();
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
