// SPDX-License-Identifier: GPL-3.0-or-later
#include "shell/window/form1.h"

#include <QCloseEvent>
#include <QGuiApplication>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScopedValueRollback>
#include <QScreen>
#include <QScrollBar>
#include <QShortcut>
#include <algorithm>
#include <array>
#include <string>
#include <utility>

#include "platform/settings_keys.h"
#include "platform/settings_store.h"
#include "scoring/score_changes.h"
#include "shell/icons.h"
#include "shell/twips.h"
#include "shell/window/grid_search.h"
#include "shell/window/songlist_model.h"
#include "shell/window/songlist_view.h"
#include "songlist/recompute.h"
#include "songlist/row_selection.h"
#include "songlist/songlist.h"

namespace jukora {

namespace {

// The window as designed, in twips; its size is that of the inner area.
struct TwipRect {
  double left, top, width, height;
};
constexpr double kDesignWidth = 10035;
constexpr double kDesignHeight = 7965;
constexpr TwipRect kIncrementButton{360, 120, 1095, 375};
constexpr TwipRect kDecrementButton{1680, 120, 1095, 375};
constexpr TwipRect kGrid{360, 600, 9375, 7095};
// The grid never shrinks to this or less.
constexpr double kGridFloor = 1000;

void place(QWidget& widget, const TwipRect& rect, const TwipScale& scale) {
  widget.setGeometry(scale.x_px(rect.left), scale.y_px(rect.top), scale.x_px(rect.width), scale.y_px(rect.height));
}

// Fonts larger than the design's would clip the captions: a button grows to
// its caption, and the second keeps the design's gap after the first.
void fit_captions(QPushButton& first, QPushButton& second, const TwipScale& scale) {
  for (QPushButton* button : {&first, &second})
    button->resize(std::max(button->width(), button->sizeHint().width()), button->height());
  const int gap = scale.x_px(kDecrementButton.left - kIncrementButton.left - kIncrementButton.width);
  second.move(std::max(second.x(), first.geometry().right() + 1 + gap), second.y());
}

// Where the window is now, as its geometry is stored.
WindowPlace place_in_twips(const QWidget& window, const TwipScale& scale) {
  return {scale.y_twips(window.y()), scale.x_twips(window.x()), scale.y_twips(window.height()),
          scale.x_twips(window.width())};
}

// Whether any part of `frame` lies on a screen that is attached now.
bool on_some_screen(const QRect& frame) {
  const QList<QScreen*> screens = QGuiApplication::screens();
  return std::any_of(screens.begin(), screens.end(),
                     [&](const QScreen* screen) { return screen->availableGeometry().intersects(frame); });
}

// A restored window is never smaller than this: both buttons and a strip of
// the grid show.
constexpr double kLeastWidth = 3000;
constexpr double kLeastHeight = 1500;
// How much of the title bar stays on the screen, so it can be taken hold of.
constexpr int kGripPixels = 100;

// Stored geometry as pixels. Hand-edited or corrupted settings can hold any
// number; far beyond every screen is as good as the edge of the range.
int stored_px(double twips, int (TwipScale::*to_px)(double) const, const TwipScale& scale) {
  return (scale.*to_px)(std::clamp(twips, -1e7, 1e7));
}

// `wanted` moved and sized onto the screen that shows most of it: no larger
// than that screen, not smaller than the least size, its title bar on it.
// Nothing of it on any screen: the design place, at a size that fits.
QRect onto_a_screen(const QRect& wanted, const QPoint& design_place, const QSize& least) {
  const QScreen* best = QGuiApplication::primaryScreen();
  qint64 best_area = 0;
  for (const QScreen* screen : QGuiApplication::screens()) {
    const QRect shared = screen->availableGeometry().intersected(wanted);
    const qint64 area = qint64{shared.width()} * shared.height();
    if (!shared.isEmpty() && area > best_area) {
      best = screen;
      best_area = area;
    }
  }
  if (!best) return wanted;
  const QRect area = best->availableGeometry();
  QRect placed(best_area > 0 ? wanted.topLeft() : design_place, wanted.size());
  placed.setWidth(std::min(std::max(placed.width(), least.width()), area.width()));
  placed.setHeight(std::min(std::max(placed.height(), least.height()), area.height()));
  const int grip = std::min(kGripPixels, placed.width());
  placed.moveLeft(std::clamp(placed.left(), area.left() - placed.width() + grip, area.right() + 1 - grip));
  placed.moveTop(std::clamp(placed.top(), area.top(), area.bottom() + 1 - std::min(kGripPixels, placed.height())));
  return placed;
}

}  // namespace

Form1::Form1(SettingsStore& settings, Songlist& songlist, QWidget* parent)
    : QWidget(parent),
      settings_(settings),
      songlist_(songlist),
      model_(new SonglistModel(songlist_, this)),
      cmdIncDec_{new QPushButton("+ Increment", this), new QPushButton("- Decrement", this)},
      lblStatus_(new QLabel(this)),
      MSFlexGrid1_(new SonglistView(this)),
      search_(new GridSearch(songlist_, *model_, this)) {
  setWindowTitle("Jukora Song Manager");
  const TwipScale scale = TwipScale::of(*this);
  resize(scale.x_px(kDesignWidth), scale.y_px(kDesignHeight));
  if (const QScreen* screen = QGuiApplication::primaryScreen())
    move(screen->availableGeometry().center() - rect().center());
  place(*cmdIncDec_[0], kIncrementButton, scale);
  place(*cmdIncDec_[1], kDecrementButton, scale);
  fit_captions(*cmdIncDec_[0], *cmdIncDec_[1], scale);
  place(*MSFlexGrid1_, kGrid, scale);
  place_status_line();
  MSFlexGrid1_->setModel(model_);
  setTabOrder(MSFlexGrid1_, cmdIncDec_[0]);
  setTabOrder(cmdIncDec_[0], cmdIncDec_[1]);
  setTabOrder(cmdIncDec_[1], &search_->field());
  MSFlexGrid1_->setFocus();
  connect(search_, &GridSearch::refiltered, this, [this] {
    scroll_to_cursor_ = true;
    show_songlist();
  });
  connect(search_, &GridSearch::leave_field, MSFlexGrid1_, [this] { MSFlexGrid1_->setFocus(); });
  connect(new QShortcut(QKeySequence::Find, this), &QShortcut::activated, this, [this] {
    search_->field().setFocus();
    search_->field().selectAll();
  });
  connect(new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_J), this), &QShortcut::activated, this, [this] {
    if (hooks.show_playing) hooks.show_playing();
  });

  for (int index : {kIncrement, kDecrement}) {
    cmdIncDec_[index]->setAutoDefault(false);
    connect(cmdIncDec_[index], &QPushButton::clicked, this, [this, index] { cmdIncDec_Click(index); });
  }
  connect(MSFlexGrid1_, &SonglistView::rows_selected, this, [this](int row, int row_sel) {
    // The view moving its cursor because rows went away is no choice of the
    // user's; the Songlist's cursor is what gets shown then.
    if (syncing_) return;
    search_->forget_picked();
    songlist_.SetRow(model_->data_row(row));
    songlist_.SetRowSel(model_->data_row(row_sel));
  });
  connect(MSFlexGrid1_, &SonglistView::select_all_requested, this, [this] {
    search_->forget_picked();
    select_all_rows(songlist_, search_->shown_rows());
    // The rows in view stay in view: selecting them all is no move.
    const int top = MSFlexGrid1_->verticalScrollBar()->value();
    show_songlist();
    MSFlexGrid1_->verticalScrollBar()->setValue(top);
  });
  connect(MSFlexGrid1_, &SonglistView::key_press, this, &Form1::MSFlexGrid1_KeyPress);
  connect(MSFlexGrid1_, &SonglistView::key_down, this, &Form1::MSFlexGrid1_KeyDown);
  connect(MSFlexGrid1_, &SonglistView::double_clicked, this, &Form1::MSFlexGrid1_DblClick);
  connect(MSFlexGrid1_, &SonglistView::mode_menu_requested, this, [this](const QPoint& position) {
    if (hooks.show_mode_menu) hooks.show_mode_menu(position);
    show_songlist();
  });
  connect(MSFlexGrid1_->horizontalHeader(), &QHeaderView::sectionResized, this,
          [this](int column, int, int new_size) { column_resized(column, new_size); });

  tmrJukora_.setInterval(1000);
  connect(&tmrJukora_, &QTimer::timeout, this, &Form1::tmrJukora_Timer);
}

void Form1::Form_Load() {
  const TwipScale scale = TwipScale::of(*this);
  width_margin_ = qRound(scale.x_twips(width()) - scale.x_twips(MSFlexGrid1_->width()));
  height_margin_ = qRound(scale.y_twips(height()) - scale.y_twips(MSFlexGrid1_->height()));

  const QPoint design_place = pos();
  const WindowPlace stored = read_window_place(settings_, place_in_twips(*this, scale));
  // A place saved on a screen that is gone, or a size of nothing or of
  // miles, would leave the window out of reach.
  const QRect placed = onto_a_screen(
      QRect(stored_px(stored.left, &TwipScale::x_px, scale), stored_px(stored.top, &TwipScale::y_px, scale),
            stored_px(stored.width, &TwipScale::x_px, scale), stored_px(stored.height, &TwipScale::y_px, scale)),
      design_place, QSize(scale.x_px(kLeastWidth), scale.y_px(kLeastHeight)));
  resize(placed.size());
  move(placed.topLeft());

  is_loaded_ = true;
  Form_Resize();

  setup_grid(songlist_);
  for (int column = 0; column < kColumns; ++column) widths_[column] = read_column_width(settings_, column);
  columns_to_size_ = true;
  for (int column = 0; column < kColumns; ++column)
    if (column_width_stored(settings_, column)) columns_to_size_ = false;
  apply_column_widths();
  if (columns_to_size_) fit_headers();
  model_->sync();

  if (hooks.check_player_folder) hooks.check_player_folder();
  setWindowIcon(window_icon());
  if (hooks.add_tray_icons) hooks.add_tray_icons();
  if (hooks.read_songlist) hooks.read_songlist();
  show_songlist();
  setVisible(read_visible(settings_) || (hooks.tray_available && !hooks.tray_available()));
}

void Form1::Form_Resize() {
  if (!is_loaded_ || isMinimized()) return;
  const TwipScale scale = TwipScale::of(*this);
  const double grid_width = std::round(scale.x_twips(width()) - width_margin_);
  const double grid_height = std::round(scale.y_twips(height()) - height_margin_);
  QSize grid = MSFlexGrid1_->size();
  if (grid_width > kGridFloor) grid.setWidth(scale.x_px(grid_width));
  if (grid_height > kGridFloor) grid.setHeight(scale.y_px(grid_height));
  MSFlexGrid1_->resize(grid);
  place_status_line();

  // Saved, such a place would put the window out of reach at the next start.
  if (!on_some_screen(frameGeometry())) return;
  save_window_place(settings_, place_in_twips(*this, scale));
}

void Form1::Form_Unload() {
  if (hooks.remove_tray_icons) hooks.remove_tray_icons();
  save_visible(settings_, isVisible());
  // Widths nobody has chosen yet are not stored, so that the first songs
  // still size the columns at a later start.
  if (!columns_to_size_)
    for (int column = 0; column < kColumns; ++column) save_column_width(settings_, column, widths_[column]);
  if (hooks.closing) hooks.closing();
}

void Form1::save_changes() {
  if (isVisible() != read_visible(settings_)) save_visible(settings_, isVisible());
  for (int column = 0; column < kColumns && !columns_to_size_; ++column)
    if (widths_[column] != read_column_width(settings_, column)) save_column_width(settings_, column, widths_[column]);
}

void Form1::place_status_line() {
  const QRect after = cmdIncDec_[1]->geometry();
  const int gap = after.left() - cmdIncDec_[0]->geometry().right() - 1;
  const int left = after.right() + 1 + gap;
  // The search field ends the strip at the grid's right edge.
  const int search_left = search_->place(
      QRect(left, after.top(), std::max(0, MSFlexGrid1_->geometry().right() + 1 - left), after.height()));
  lblStatus_->setGeometry(left, after.top(), std::max(0, search_left - gap - left), after.height());
  show_status(lblStatus_->toolTip());
}

void Form1::show_status(const QString& text) {
  lblStatus_->setToolTip(text);
  lblStatus_->setText(lblStatus_->fontMetrics().elidedText(text, Qt::ElideRight, lblStatus_->width()));
}

void Form1::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  Form_Resize();
}

void Form1::closeEvent(QCloseEvent* event) {
  Form_Unload();
  QWidget::closeEvent(event);
  emit unloaded();
}

void Form1::apply_column_widths() {
  const TwipScale scale = TwipScale::of(*this);
  QScopedValueRollback<bool> placing(placing_columns_, true);
  for (int column = 0; column < kColumns; ++column) {
    // A negative width is the grid's way of asking for the default one.
    const int twips = widths_[column] < 0 ? kDefaultColumnWidth : widths_[column];
    MSFlexGrid1_->setColumnWidth(column, scale.x_px(twips));
  }
}

void Form1::column_resized(int column, int new_size) {
  // Widths the user drags are kept in twips; widths set from the settings
  // keep their exact value rather than one rounded through pixels.
  if (placing_columns_) return;
  if (column >= 0 && column < kColumns) widths_[column] = qRound(TwipScale::of(*this).x_twips(new_size));
  // Widths the user has set are not sized over.
  if (!sizing_columns_) columns_to_size_ = false;
}

void Form1::fit_headers() {
  QScopedValueRollback<bool> sizing(sizing_columns_, true);
  for (int column = 0; column < kColumns; ++column)
    MSFlexGrid1_->setColumnWidth(
        column, std::max(MSFlexGrid1_->columnWidth(column), MSFlexGrid1_->horizontalHeader()->sectionSizeHint(column)));
}

void Form1::size_columns_to_contents() {
  QScopedValueRollback<bool> sizing(sizing_columns_, true);
  std::array<int, kColumns> wanted{};
  // The texts measured are those the first screen shows: the view scrolls to
  // the cursor when it is shown, and a long list holds more rows than a
  // screen can, which only cost time to measure.
  const int page = MSFlexGrid1_->rows_per_page();
  const int cursor = std::max(1, model_->shown_row(songlist_.Row()));
  for (int column = 0; column < kColumns; ++column) {
    MSFlexGrid1_->fit_column(column, cursor - page, cursor + page);
    wanted[column] = MSFlexGrid1_->columnWidth(column);
  }
  // The number columns keep their width; long folders and names share what
  // is left of the grid, so that the scores stay in view.
  int numbers = 0;
  for (int column = 0; column < kColumns; ++column)
    if (column != col::kDirectory && column != col::kFile) numbers += wanted[column];
  const int names = wanted[col::kDirectory] + wanted[col::kFile];
  const int room = MSFlexGrid1_->viewport()->width() - numbers;
  if (names <= room) return;
  for (int column : {col::kDirectory, col::kFile})
    MSFlexGrid1_->setColumnWidth(
        column, std::max(MSFlexGrid1_->horizontalHeader()->sectionSizeHint(column), wanted[column] * room / names));
}

void Form1::show_songlist() {
  {
    QScopedValueRollback<bool> syncing(syncing_, true);
    search_->follow();
    model_->sync();
  }
  const bool empty = songlist_.holds_no_song();
  MSFlexGrid1_->set_empty(empty);
  if (columns_to_size_ && !empty) {
    size_columns_to_contents();
    columns_to_size_ = false;
  }
  // Like the grid, the cursor never points past the last row.
  const int last = songlist_.Rows() - 1;
  if (songlist_.Row() > last || songlist_.RowSel() > last) {
    const int row_sel = std::min(songlist_.RowSel(), last);
    songlist_.SetRow(std::min(songlist_.Row(), last));
    songlist_.SetRowSel(row_sel);
  }
  const std::pair<int, int> wanted{model_->shown_row(songlist_.Row()), model_->shown_row(songlist_.RowSel())};
  const bool scroll = std::exchange(scroll_to_cursor_, false);
  if (const ChosenRows* picked = search_->picked()) {
    // The whole list is shown: its data rows are the shown rows.
    MSFlexGrid1_->show_rows(picked->rows, wanted.first, wanted.second);
    if (!scroll) return;
  } else if (MSFlexGrid1_->shown_selection() != wanted) {
    MSFlexGrid1_->show_selection(wanted.first, wanted.second);
  } else if (!scroll) {
    return;
  }
  MSFlexGrid1_->scroll_to_row(wanted.first);
}

std::optional<ChosenRows> Form1::chosen_rows() { return search_->chosen(); }

void Form1::show_row(int row) {
  search_->reveal(row);
  songlist_.SetRow(row);
  scroll_to_cursor_ = true;
  show_songlist();
}

void Form1::mark_playing(const std::string& directory, const std::string& file) {
  model_->set_playing(directory, file);
}

void Form1::cmdIncDec_Click(int index) {
  if (hooks.cmdIncDec_Click) hooks.cmdIncDec_Click(index);
  show_songlist();
}

void Form1::MSFlexGrid1_KeyPress(int key_ascii) {
  if (hooks.MSFlexGrid1_KeyPress) hooks.MSFlexGrid1_KeyPress(key_ascii);
  show_songlist();
}

void Form1::MSFlexGrid1_KeyDown(int key_code, int shift) {
  // The shown row the cursor was on, where it stays after a delete.
  const int at = model_->shown_row(songlist_.Row());
  if (hooks.MSFlexGrid1_KeyDown) hooks.MSFlexGrid1_KeyDown(key_code, shift);
  if (key_code == kGridKeyDelete) search_->keep_cursor_at(at);
  show_songlist();
}

void Form1::MSFlexGrid1_DblClick() {
  if (hooks.MSFlexGrid1_DblClick) hooks.MSFlexGrid1_DblClick();
  show_songlist();
}

void Form1::tmrJukora_Timer() {
  // A tick held up by a message box must not be entered again by the ticks
  // that arrive while the box is open.
  if (in_timer_ || !hooks.tmrJukora_Timer) return;
  {
    QScopedValueRollback<bool> ticking(in_timer_, true);
    hooks.tmrJukora_Timer();
  }
  show_songlist();
}

}  // namespace jukora
