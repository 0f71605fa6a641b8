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
#include "session/column_fit.h"
#include "session/session.h"
#include "shell/icons.h"
#include "shell/twips.h"
#include "shell/window/chance_column.h"
#include "shell/window/grid_search.h"
#include "shell/window/mode_menu.h"
#include "shell/window/songlist_model.h"
#include "shell/window/songlist_view.h"
#include "shell/window/window_place.h"
#include "songlist/paths.h"
#include "songlist/recompute.h"
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

}  // namespace

Form1::Form1(SettingsStore& settings, Session& session, QTimer& tmrJukora, QWidget* parent)
    : QWidget(parent),
      settings_(settings),
      session_(session),
      songlist_(session.songlist()),
      tmrJukora_(tmrJukora),
      model_(new SonglistModel(songlist_, session.search_filter(), this)),
      cmdIncDec_{new QPushButton("+ Increment", this), new QPushButton("- Decrement", this)},
      lblStatus_(new QLabel(this)),
      MSFlexGrid1_(new SonglistView(this)),
      search_(new GridSearch(session, this)),
      mnuBase_(std::make_unique<ModeMenu>(ModeMenuHandlers{
          .random = [this](Scope scope) { mnuRandom_Click(scope); },
          .countdown = [this](PlayChoice choice) { mnuDescending_Click(choice); },
          .countup = [this](PlayChoice choice) { mnuAscending_Click(choice); },
          .songlist = [this](SonglistCommand command) { mnuSonglist_Click(command); },
          .add_files = [this] { mnuPopup_Click(PopupItem::kAddFiles); },
          .preferences = [this] { mnuPopup_Click(PopupItem::kPreferences); },
          .stop_player = [this] { mnuPopup_Click(PopupItem::kStop); },
          .exit = [this] { mnuPopup_Click(PopupItem::kExit); },
          .show_playing = [this] { mnuPopup_Click(PopupItem::kShowPlaying); },
          .import_ratings = [this] { mnuPopup_Click(PopupItem::kImportRatings); },
          .undo = [this] { mnuPopup_Click(PopupItem::kUndo); },
          .redo = [this] { mnuPopup_Click(PopupItem::kRedo); },
          .history = [this] { mnuPopup_Click(PopupItem::kHistory); },
          .statistics = [this] { mnuPopup_Click(PopupItem::kStatistics); },
      })) {
  setWindowTitle("Jukora Song Manager");
  mnuBase_->menu().setObjectName("mnuBase");
  mnuBase_->random().setObjectName("mnuRandom");
  mnuBase_->countdown().setObjectName("mnuDescending");
  mnuBase_->countup().setObjectName("mnuAscending");
  mnuBase_->songlist().setObjectName("mnuSonglist");
  hooks.play_row = [this](int row) { session_.play_row(row); };
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
  model_->set_odds_source(session.play_modes());
  chance_ = new ChanceColumn(*MSFlexGrid1_, *model_, settings_);
  setTabOrder(MSFlexGrid1_, cmdIncDec_[0]);
  setTabOrder(cmdIncDec_[0], cmdIncDec_[1]);
  setTabOrder(cmdIncDec_[1], &search_->field());
  MSFlexGrid1_->setFocus();
  connect(search_, &GridSearch::leave_field, MSFlexGrid1_, [this] { MSFlexGrid1_->setFocus(); });
  connect(new QShortcut(QKeySequence::Find, this), &QShortcut::activated, this, [this] {
    search_->field().setFocus();
    search_->field().selectAll();
  });
  connect(new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_J), this), &QShortcut::activated, this,
          [this] { mnuPopup_Click(PopupItem::kShowPlaying); });

  for (int index : {0, 1}) {
    cmdIncDec_[index]->setAutoDefault(false);
    connect(cmdIncDec_[index], &QPushButton::clicked, this, [this, index] { cmdIncDec_Click(index); });
  }
  connect(MSFlexGrid1_, &SonglistView::rows_selected, this, [this](int row, int row_sel) {
    // The view moving its cursor because rows went away is no choice of the
    // user's; the Songlist's cursor is what gets shown then.
    if (syncing_) return;
    session_.select(model_->data_row(row), model_->data_row(row_sel));
  });
  connect(MSFlexGrid1_, &SonglistView::select_all_requested, this, [this] {
    // The rows in view stay in view: selecting them all is no move.
    const int top = MSFlexGrid1_->verticalScrollBar()->value();
    session_.select_all();
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
  // Other rows scrolled into view, or a grid of another width: the columns fit again.
  connect(MSFlexGrid1_->verticalScrollBar(), &QScrollBar::valueChanged, this, [this] { fit_columns(); });
  MSFlexGrid1_->viewport()->installEventFilter(this);

  status_age_.setSingleShot(true);
  status_age_.setInterval(kStatusLifeMs);
  connect(&status_age_, &QTimer::timeout, this, [this] { elide_status({}); });

  tmrJukora_.setInterval(1000);
  connect(&tmrJukora_, &QTimer::timeout, this, &Form1::tmrJukora_Timer);
  session_.watch(*this);
}

Form1::~Form1() { session_.unwatch(*this); }

void Form1::Form_Load() {
  const TwipScale scale = TwipScale::of(*this);
  width_margin_ = qRound(scale.x_twips(width()) - scale.x_twips(MSFlexGrid1_->width()));
  height_margin_ = qRound(scale.y_twips(height()) - scale.y_twips(MSFlexGrid1_->height()));

  const QRect placed = stored_place_on_a_screen(read_window_place(settings_, place_in_twips(*this, scale)), pos(),
                                                scale, frame_of(*this));
  resize(placed.size());
  move(placed.topLeft());

  is_loaded_ = true;
  Form_Resize();

  setup_grid(songlist_);
  for (int column = 0; column < kColumns; ++column) widths_[column] = read_column_width(settings_, column);
  // Directory and File keep the proportion their stored widths give them.
  const auto weight = [](int twips) { return twips > 0 ? twips : kDefaultColumnWidth; };
  weights_ = {weight(widths_[col::kDirectory]), weight(widths_[col::kFile])};
  apply_column_widths();
  chance_->load();
  model_->sync();
  fit_columns();

  if (hooks.check_player_folder) hooks.check_player_folder();
  setWindowIcon(window_icon());
  if (hooks.add_tray_icons) hooks.add_tray_icons();
  session_.load_songlist();
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
  save_place();
}

void Form1::save_place() {
  if (!is_loaded_ || isMinimized()) return;
  // Saved, such a place would put the window out of reach at the next start.
  if (!on_some_screen(frameGeometry())) return;
  save_window_place(settings_, place_in_twips(*this, TwipScale::of(*this)));
}

void Form1::Form_Unload() {
  if (hooks.remove_tray_icons) hooks.remove_tray_icons();
  save_visible(settings_, isVisible());
  for (int column = 0; column < kColumns; ++column) save_column_width(settings_, column, widths_[column]);
  chance_->save();
  if (hooks.closing) hooks.closing();
}

void Form1::save_changes() {
  if (isVisible() != read_visible(settings_)) save_visible(settings_, isVisible());
  for (int column = 0; column < kColumns; ++column)
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
  elide_status(lblStatus_->toolTip());
}

void Form1::show_status(const QString& text) {
  // A word a minute old tells of something long past: it goes.
  if (text.isEmpty())
    status_age_.stop();
  else
    status_age_.start();
  elide_status(text);
}

void Form1::elide_status(const QString& text) {
  lblStatus_->setToolTip(text);
  lblStatus_->setText(lblStatus_->fontMetrics().elidedText(text, Qt::ElideRight, lblStatus_->width()));
}

bool Form1::eventFilter(QObject* watched, QEvent* event) {
  if (watched == MSFlexGrid1_->viewport() && event->type() == QEvent::Resize && is_loaded_) fit_columns();
  return QWidget::eventFilter(watched, event);
}

void Form1::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  Form_Resize();
}

void Form1::moveEvent(QMoveEvent* event) {
  QWidget::moveEvent(event);
  // A window moved by its title bar comes back there, not only one resized.
  save_place();
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
  // Widths are kept in twips; widths set from the settings keep their exact
  // value rather than one rounded through pixels.
  // The "Chance %" column keeps the width it is given; the others share
  // what it leaves.
  if (column == kChanceColumn && !placing_columns_) return fit_columns();
  if (placing_columns_ || column < 0 || column >= kColumns) return;
  widths_[column] = qRound(TwipScale::of(*this).x_twips(new_size));
  if (sizing_columns_) return;
  // The person sized it: no fitting sizes over it, and the other columns
  // make room for it.
  held_[column] = true;
  if (column == col::kDirectory) weights_.first = widths_[column];
  if (column == col::kFile) weights_.second = widths_[column];
  fit_columns();
}

void Form1::fit_columns() {
  if (sizing_columns_) return;
  QScopedValueRollback<bool> sizing(sizing_columns_, true);
  // Only the rows on screen are measured: a long list holds more than a
  // screen can, which would only cost time. Hidden, the view has not
  // scrolled yet: it will open at the cursor.
  std::pair<int, int> rows = MSFlexGrid1_->rows_in_view();
  if (!MSFlexGrid1_->isVisible()) {
    const int page = MSFlexGrid1_->rows_per_page();
    const int cursor = std::max(1, model_->shown_row(songlist_.Row()));
    rows = {cursor - page, cursor + page};
  }
  ColumnNeeds needs;
  needs.directory_weight = weights_.first;
  needs.file_weight = weights_.second;
  for (int column = 0; column < kColumns; ++column) {
    needs.header[column] = MSFlexGrid1_->horizontalHeader()->sectionSizeHint(column);
    needs.text[column] = MSFlexGrid1_->text_width(column, rows.first, rows.second);
    // The number columns only grow while the program runs, so that they do
    // not jump about as the list scrolls.
    if (column != col::kDirectory && column != col::kFile) {
      grown_[column] = std::max(grown_[column], needs.text[column]);
      needs.text[column] = grown_[column];
    }
    needs.held[column] = held_[column];
    needs.held_width[column] = MSFlexGrid1_->columnWidth(column);
  }
  const int chance = chance_->shown() ? MSFlexGrid1_->columnWidth(kChanceColumn) : 0;
  const std::array<int, kColumns> widths = jukora::fit_columns(needs, MSFlexGrid1_->room() - chance);
  for (int column = 0; column < kColumns; ++column)
    if (MSFlexGrid1_->columnWidth(column) != widths[column]) MSFlexGrid1_->setColumnWidth(column, widths[column]);
}

void Form1::session_changed(const SessionNews& news) {
  if (news.reveal) scroll_to_cursor_ = true;
  if (news.playing) {
    const std::string& path = session_.playing().path();
    model_->set_playing(path.empty() ? std::string() : song_directory(path), get_file_name(path));
  }
  refresh();
}

void Form1::show_songlist() {
  session_.announce();
  refresh();
}

void Form1::refresh() {
  {
    QScopedValueRollback<bool> syncing(syncing_, true);
    model_->sync();
  }
  search_->show_count();
  MSFlexGrid1_->set_empty(songlist_.holds_no_song());
  const std::pair<int, int> wanted{model_->shown_row(songlist_.Row()), model_->shown_row(songlist_.RowSel())};
  const bool scroll = std::exchange(scroll_to_cursor_, false);
  if (const ChosenRows* picked = session_.search_filter().picked()) {
    // The whole list is shown: its data rows are the shown rows.
    MSFlexGrid1_->show_rows(picked->rows, wanted.first, wanted.second);
    if (!scroll) return fit_columns();
  } else if (MSFlexGrid1_->shown_selection() != wanted) {
    MSFlexGrid1_->show_selection(wanted.first, wanted.second);
  } else if (!scroll) {
    return fit_columns();
  }
  MSFlexGrid1_->scroll_to_row(wanted.first);
  fit_columns();
}

void Form1::cmdIncDec_Click(int index) {
  session_.step_scores(index == 0 ? ScoreDirection::kUp : ScoreDirection::kDown);
}

void Form1::MSFlexGrid1_KeyPress(int key_ascii) {
  constexpr int kEnter = 13;
  switch (key_ascii) {
    case '+':
    case '=':
      return cmdIncDec_Click(0);
    case '-':
    case '_':
      return cmdIncDec_Click(1);
    case kEnter:
      return MSFlexGrid1_DblClick();
    default:
      return;
  }
}

void Form1::MSFlexGrid1_KeyDown(int key_code, int /*shift*/) {
  if (key_code == kGridKeyDelete) fg_sort();
}

void Form1::fg_sort() { session_.delete_rows(); }

void Form1::MSFlexGrid1_DblClick() {
  if (hooks.play_row) hooks.play_row(songlist_.Row());
  show_songlist();
}

void Form1::tmrJukora_Timer() { session_.tick(); }

void Form1::mnuRandom_Click(Scope scope) { session_.start_cycle({PlayOrder::kRandom, scope}); }

void Form1::mnuDescending_Click(PlayChoice choice) {
  choice.order = PlayOrder::kCountdown;
  session_.start_cycle(choice);
}

void Form1::mnuAscending_Click(PlayChoice choice) {
  choice.order = PlayOrder::kCountup;
  session_.start_cycle(choice);
}

void Form1::mnuSonglist_Click(SonglistCommand command) { session_.songlist_command(command); }

void Form1::mnuPopup_Click(PopupItem item) {
  auto shell = [](const std::function<void()>& hook) {
    if (hook) hook();
  };
  switch (item) {
    case PopupItem::kAddFiles:
      return session_.add_files();
    case PopupItem::kImportRatings:
      return shell(hooks.import_ratings);
    case PopupItem::kUndo:
      session_.undo_change();
      return;
    case PopupItem::kRedo:
      session_.redo_change();
      return;
    case PopupItem::kShowPlaying:
      return session_.show_playing();
    case PopupItem::kHistory:
      return shell(hooks.history);
    case PopupItem::kStatistics:
      return shell(hooks.statistics);
    case PopupItem::kPreferences:
      return session_.show_preferences();
    case PopupItem::kStop:
      return session_.stop_player();
    case PopupItem::kExit:
      return shell(hooks.exit);
  }
}

void Form1::Form_MouseUp(TrayIconId icon, TrayRelease release) {
  if (hooks.tray_release) hooks.tray_release(icon, release);
}

}  // namespace jukora
