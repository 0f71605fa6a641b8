// SPDX-License-Identifier: GPL-3.0-or-later
#include "shell/window/songlist_view.h"

#include <QContextMenuEvent>
#include <QHeaderView>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QToolTip>
#include <algorithm>

#include "shell/window/songlist_model.h"

namespace jukora {

namespace {

// The grid's shift argument: 1 Shift, 2 Ctrl, 4 Alt.
int shift_state(Qt::KeyboardModifiers modifiers) {
  return (modifiers & Qt::ShiftModifier ? 1 : 0) | (modifiers & Qt::ControlModifier ? 2 : 0) |
         (modifiers & Qt::AltModifier ? 4 : 0);
}

}  // namespace

SonglistView::SonglistView(QWidget* parent) : QTableView(parent) {
  setSelectionBehavior(QAbstractItemView::SelectRows);
  setSelectionMode(QAbstractItemView::ContiguousSelection);
  setEditTriggers(QAbstractItemView::NoEditTriggers);
  // Tab leaves the grid for the score buttons instead of walking its cells.
  setTabKeyNavigation(false);
  setWordWrap(false);
  verticalHeader()->hide();
  verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
  // Rows as tight as a text line, like a classic grid, not a touch list.
  verticalHeader()->setMinimumSectionSize(fontMetrics().height() + 2);
  verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 4);
  horizontalHeader()->setHighlightSections(false);
  horizontalHeader()->setSectionsClickable(false);
  setToolTip(QString::fromLatin1(kGridToolTip));
}

void SonglistView::setModel(QAbstractItemModel* model) {
  QTableView::setModel(model);
  connect(selectionModel(), &QItemSelectionModel::selectionChanged, this, &SonglistView::report_selection);
  connect(selectionModel(), &QItemSelectionModel::currentChanged, this, &SonglistView::report_selection);
}

void SonglistView::selectAll() { emit select_all_requested(); }

QItemSelectionModel::SelectionFlags SonglistView::selectionCommand(const QModelIndex& index,
                                                                   const QEvent* event) const {
  // Placing the cursor from the Songlist must not extend a selection just
  // because Shift is still down from typing "+".
  if (placing_) return QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows;
  return QTableView::selectionCommand(index, event);
}

void SonglistView::show_selection(int row, int row_sel) {
  if (!model()) return;
  const int rows = model()->rowCount();
  placing_ = true;
  if (row < 1 || row > rows) {
    selectionModel()->clear();
  } else {
    row_sel = std::clamp(row_sel, 1, rows);
    const int column = std::max(1, currentIndex().column());
    // The view's own current index becomes the anchor first, so that Shift
    // with the arrows later extends from it; then the moving end.
    setCurrentIndex(model()->index(row - 1, column));
    if (row_sel != row) {
      const int top = std::min(row, row_sel) - 1, bottom = std::max(row, row_sel) - 1;
      QItemSelection range(model()->index(top, 0), model()->index(bottom, model()->columnCount() - 1));
      selectionModel()->select(range, QItemSelectionModel::ClearAndSelect);
      selectionModel()->setCurrentIndex(model()->index(row_sel - 1, column), QItemSelectionModel::NoUpdate);
    }
  }
  placing_ = false;
}

void SonglistView::show_rows(const std::vector<int>& rows, int row, int row_sel) {
  if (!model() || rows.empty()) return;
  const int last_column = model()->columnCount() - 1;
  QItemSelection selection;
  for (std::size_t i = 0; i < rows.size();) {
    std::size_t end = i + 1;
    while (end < rows.size() && rows[end] == rows[end - 1] + 1) ++end;
    selection.select(model()->index(rows[i] - 1, 0), model()->index(rows[end - 1] - 1, last_column));
    i = end;
  }
  placing_ = true;
  const int column = std::max(1, currentIndex().column());
  setCurrentIndex(model()->index(row - 1, column));
  selectionModel()->select(selection, QItemSelectionModel::ClearAndSelect);
  selectionModel()->setCurrentIndex(model()->index(row_sel - 1, column), QItemSelectionModel::NoUpdate);
  placing_ = false;
}

std::pair<int, int> SonglistView::shown_selection() const {
  const QModelIndex current = currentIndex();
  const QItemSelection selection = selectionModel()->selection();
  if (!current.isValid() || selection.isEmpty()) return {0, 0};
  int top = selection.first().top(), bottom = selection.first().bottom();
  for (const QItemSelectionRange& range : selection) {
    top = std::min(top, range.top());
    bottom = std::max(bottom, range.bottom());
  }
  const int moving = current.row();
  const int anchor = moving == top ? bottom : top;
  return {anchor + 1, moving + 1};
}

void SonglistView::scroll_to_row(int row) {
  if (!model() || row < 1 || row > model()->rowCount()) return;
  scrollTo(model()->index(row - 1, std::max(0, currentIndex().column())));
}

int SonglistView::text_width(int column, int first, int last) {
  const int header = horizontalHeader()->sectionSizeHint(column);
  if (!model()) return header;
  ensurePolished();
  QStyleOptionViewItem option;
  initViewItemOption(&option);
  // Each row is measured as it looks while its song plays: bold, and in the
  // number column beside the playing icon, so that no text is cut short when
  // the song starts.
  option.font.setBold(true);
  option.fontMetrics = QFontMetrics(option.font);
  int content = 0;
  for (int row = std::max(first, 1); row <= std::min(last, model()->rowCount()); ++row) {
    const QModelIndex index = model()->index(row - 1, column);
    content = std::max(content, itemDelegateForIndex(index)->sizeHint(option, index).width());
  }
  if (column == col::kNumber)
    content +=
        option.decorationSize.width() + 2 * (style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, this) + 1);
  // The grid line takes a pixel of the cell.
  if (showGrid()) ++content;
  return std::max(content, header);
}

int SonglistView::room() const {
  if (isVisible()) return viewport()->width();
  // Hidden, the viewport keeps its old size until the view is shown: the
  // view's own size tells, less a scroll bar where the rows will need one.
  const int rows = model() ? model()->rowCount() : 0;
  const bool scrolls = rows * verticalHeader()->defaultSectionSize() >
                       height() - 2 * frameWidth() - horizontalHeader()->sizeHint().height();
  return width() - 2 * frameWidth() - (scrolls ? style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, this) : 0);
}

std::pair<int, int> SonglistView::rows_in_view() const {
  const int rows = model() ? model()->rowCount() : 0;
  if (rows == 0) return {1, 0};
  const int top = rowAt(0);
  const int bottom = rowAt(viewport()->height() - 1);
  return {top < 0 ? 1 : top + 1, bottom < 0 ? rows : bottom + 1};
}

bool SonglistView::cut(const QModelIndex& index) const {
  QStyleOptionViewItem option;
  initViewItemOption(&option);
  const int needed = itemDelegateForIndex(index)->sizeHint(option, index).width() + (showGrid() ? 1 : 0);
  return needed > columnWidth(index.column());
}

QString SonglistView::tooltip_at(const QModelIndex& index) const {
  QStringList lines;
  lines << (index.isValid() && cut(index) ? index.data(Qt::DisplayRole).toString() : QString::fromLatin1(kGridToolTip));
  if (const QString odds = index.data(kOddsRole).toString(); !odds.isEmpty()) lines << odds;
  return lines.join(QLatin1Char('\n'));
}

int SonglistView::rows_per_page() const {
  // Still hidden, the view has not laid out its viewport: its own height tells.
  return std::max(
      1,
      (height() - horizontalHeader()->sizeHint().height()) / std::max(1, verticalHeader()->defaultSectionSize()) + 1);
}

void SonglistView::set_empty(bool empty) {
  if (empty == empty_) return;
  empty_ = empty;
  viewport()->update();
}

QPoint SonglistView::menu_position() {
  const QModelIndex current = currentIndex();
  QPoint at;
  if (current.isValid()) {
    scrollTo(current);
    const QRect row = visualRect(current);
    at = QPoint(0, std::clamp(row.bottom(), 0, viewport()->height() - 1));
  }
  return viewport()->mapToGlobal(at);
}

void SonglistView::report_selection() {
  if (placing_ || !currentIndex().isValid()) return;
  if (selectionModel()->selection().isEmpty()) {
    // A cursor with nothing highlighted would let the keys act on a row the
    // user cannot see: the cursor's row is shown instead.
    placing_ = true;
    selectionModel()->select(currentIndex(), QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    placing_ = false;
  }
  auto [row, row_sel] = shown_selection();
  emit rows_selected(row, row_sel);
}

void SonglistView::keyPressEvent(QKeyEvent* event) {
  if (event->key() == Qt::Key_Delete) {
    emit key_down(kGridKeyDelete, shift_state(event->modifiers()));
    return;
  }
  if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
    emit key_press('\r');
    return;
  }
  // Some platforms type the letter with Ctrl+A, which is no character for the grid.
  if (event->matches(QKeySequence::SelectAll)) {
    selectAll();
    return;
  }
  if (event->key() == Qt::Key_F10 && event->modifiers() == Qt::ShiftModifier) {
    emit mode_menu_requested(menu_position());
    return;
  }
  const QString text = event->text();
  if (text.size() == 1 && text[0].unicode() >= 0x20 && text[0].unicode() != 0x7f) {
    // Typed characters belong to the grid's key handler; the view's own
    // search-by-typing would only move the cursor about.
    emit key_press(text[0].unicode());
    return;
  }
  QTableView::keyPressEvent(event);
}

template <typename Handler>
void SonglistView::within_cells(QMouseEvent* event, Handler handler) {
  const int rows = model() ? model()->rowCount() : 0;
  QPointF at = event->position();
  if (rows > 0) {
    const int last_row = rows - 1;
    if (at.y() >= rowViewportPosition(last_row) + rowHeight(last_row))
      at.setY(rowViewportPosition(last_row) + rowHeight(last_row) / 2);
    // The last column on screen: a hidden one (the "Chance %") has no place.
    int last_column = model()->columnCount() - 1;
    while (last_column > 0 && isColumnHidden(last_column)) --last_column;
    if (at.x() >= columnViewportPosition(last_column) + columnWidth(last_column))
      at.setX(columnViewportPosition(last_column) + columnWidth(last_column) / 2);
  }
  if (at == event->position()) {
    handler(event);
    return;
  }
  QMouseEvent moved(event->type(), at, event->globalPosition(), event->button(), event->buttons(), event->modifiers(),
                    event->pointingDevice());
  handler(&moved);
  event->setAccepted(moved.isAccepted());
}

void SonglistView::mousePressEvent(QMouseEvent* event) {
  // The right button opens the mode menu and leaves the cursor alone.
  if (event->button() == Qt::RightButton) return;
  within_cells(event, [this](QMouseEvent* e) { QTableView::mousePressEvent(e); });
}

void SonglistView::mouseMoveEvent(QMouseEvent* event) {
  within_cells(event, [this](QMouseEvent* e) { QTableView::mouseMoveEvent(e); });
}

void SonglistView::mouseReleaseEvent(QMouseEvent* event) {
  if (event->button() == Qt::RightButton) {
    emit mode_menu_requested(event->globalPosition().toPoint());
    return;
  }
  within_cells(event, [this](QMouseEvent* e) { QTableView::mouseReleaseEvent(e); });
}

void SonglistView::mouseDoubleClickEvent(QMouseEvent* event) {
  within_cells(event, [this](QMouseEvent* e) { QTableView::mouseDoubleClickEvent(e); });
  if (event->button() == Qt::LeftButton) emit double_clicked();
}

void SonglistView::contextMenuEvent(QContextMenuEvent* event) {
  // The Menu key arrives here (X11, Wayland and Windows make it a context
  // menu event); the mouse's menu opens on the release of the right button.
  if (event->reason() != QContextMenuEvent::Keyboard) return QTableView::contextMenuEvent(event);
  event->accept();
  emit mode_menu_requested(menu_position());
}

bool SonglistView::viewportEvent(QEvent* event) {
  if (event->type() != QEvent::ToolTip) return QTableView::viewportEvent(event);
  const auto* help = static_cast<QHelpEvent*>(event);
  const QModelIndex index = indexAt(help->pos());
  // The tip stays while the mouse is over the same cell; the next cell gets its own.
  QToolTip::showText(help->globalPos(), tooltip_at(index), viewport(),
                     index.isValid() ? visualRect(index) : viewport()->rect());
  return true;
}

void SonglistView::paintEvent(QPaintEvent* event) {
  QTableView::paintEvent(event);
  if (!empty_) return;
  QPainter painter(viewport());
  painter.setPen(palette().color(QPalette::PlaceholderText));
  const int margin = fontMetrics().height();
  painter.drawText(viewport()->rect().adjusted(margin, margin, -margin, -margin), Qt::AlignCenter | Qt::TextWordWrap,
                   QString::fromUtf8(kEmptyListHint));
}

}  // namespace jukora
