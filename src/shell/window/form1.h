// SPDX-License-Identifier: GPL-3.0-or-later
// The main window: the songlist grid, the two score buttons, the search
// field and the mode menu. It shows the session as the session announces
// it, brings itself up in order at start-up, lays out on resize, keeps its
// geometry and column widths and saves them when closed. Its handlers bear
// the names the window's controls had (cmdIncDec_Click, MSFlexGrid1_KeyPress,
// mnuRandom_Click, tmrJukora_Timer ...); each turns an event into an intent
// and passes it on: to the session, or through its hooks to the shell.
#pragma once

#include <QString>
#include <QTimer>
#include <QWidget>
#include <array>
#include <functional>
#include <memory>
#include <string>
#include <utility>

#include "platform/settings_keys.h"
#include "playmodes/play_choice.h"
#include "scoring/score_changes.h"
#include "session/session_watcher.h"
#include "shell/tray/tray_events.h"
#include "songlist/songlist.h"
#include "songlist/songlist_files.h"

class QLabel;
class QPushButton;

namespace jukora {

class GridSearch;
class ModeMenu;
class Session;
class SettingsStore;
class ChanceColumn;
class SonglistModel;
class SonglistView;
enum class TrayIconId;

// What the window passes on to the shell, and the intents a test may stand
// in for; each is optional.
struct Form1Hooks {
  // Start-up, once the grid is set up: the check that the player's folder
  // holds its program.
  std::function<void()> check_player_folder;
  // Start-up, once the window's icon is set and before the captions.
  std::function<void()> add_tray_icons;
  // Whether the tray icons can be seen. Without them the window is the only
  // way into the program, so it is shown whatever "visible" says.
  std::function<bool()> tray_available;
  // First thing when the window closes.
  std::function<void()> remove_tray_icons;
  // When the window closes, once its own state is saved.
  std::function<void()> closing;
  // The mode menu asked for at this screen position (the right button, the
  // Menu key), and a release over a tray icon.
  std::function<void(const QPoint&)> show_mode_menu;
  std::function<void(TrayIconId, TrayRelease)> tray_release;
  // The mode menu's items that open the shell's own windows, and Exit.
  std::function<void()> import_ratings;
  std::function<void()> history;
  std::function<void()> statistics;
  std::function<void()> exit;
  // A double-click on the grid, or Enter in it: the session plays the row.
  std::function<void(int row)> play_row;
};

// The mode menu's top-level items without a submenu.
enum class PopupItem {
  kAddFiles,
  kImportRatings,
  kUndo,
  kRedo,
  kShowPlaying,
  kHistory,
  kStatistics,
  kPreferences,
  kStop,
  kExit
};

class Form1 : public QWidget, private SessionWatcher {
  Q_OBJECT

 public:
  // Shows `session`; keeps its geometry, widths and visible flag in
  // `settings`; `tmrJukora` is the play cycle's timer, whose ticks it hands on.
  Form1(SettingsStore& settings, Session& session, QTimer& tmrJukora, QWidget* parent = nullptr);
  ~Form1() override;

  Form1Hooks hooks;

  // Start-up: call once, after the hooks are set. Ends with the window shown
  // or hidden as "visible" says.
  void Form_Load();

  // Shows the session as it is: cells, selection, the rows a search shows,
  // and the current row scrolled into view when the cursor moved.
  void show_songlist();

  // What Exit saves of the window before the program leaves: the visible
  // flag and the column widths, when they changed.
  void save_changes();

  // A line beside the score buttons: the latest word to the user, however
  // else it was shown, cleared once it is a minute old.
  void show_status(const QString& text);
  static constexpr int kStatusLifeMs = 60'000;
  QTimer& status_age() { return status_age_; }

  // The window's events, as its controls named them.
  void cmdIncDec_Click(int index);
  void MSFlexGrid1_KeyPress(int key_ascii);
  void MSFlexGrid1_KeyDown(int key_code, int shift);
  void MSFlexGrid1_DblClick();
  // The Delete entry: the rows the keys act on go, as one step.
  void fg_sort();
  void tmrJukora_Timer();
  void mnuRandom_Click(Scope scope);
  void mnuDescending_Click(PlayChoice choice);
  void mnuAscending_Click(PlayChoice choice);
  void mnuSonglist_Click(SonglistCommand command);
  void mnuPopup_Click(PopupItem item);
  // A mouse button released over a tray icon.
  void Form_MouseUp(TrayIconId icon, TrayRelease release);

  QTimer& tmrJukora() { return tmrJukora_; }
  SonglistView& MSFlexGrid1() { return *MSFlexGrid1_; }
  SonglistView& grid() { return *MSFlexGrid1_; }
  QPushButton& cmdIncDec(int index) { return *cmdIncDec_[index == 0 ? 0 : 1]; }
  QLabel& lblStatus() { return *lblStatus_; }
  GridSearch& search() { return *search_; }
  ModeMenu& mode_menu() { return *mnuBase_; }

  int width_margin() const { return width_margin_; }
  int height_margin() const { return height_margin_; }
  bool is_loaded() const { return is_loaded_; }

 signals:
  // The window was closed and its state saved: the program ends.
  void unloaded();

 protected:
  void resizeEvent(QResizeEvent* event) override;
  void moveEvent(QMoveEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;
  void closeEvent(QCloseEvent* event) override;

 private:
  void session_changed(const SessionNews& news) override;
  // Brings the grid, the selection and the search's count up to date.
  void refresh();
  void Form_Resize();
  // The window's place and size, as the settings keep them, unless it is
  // minimized or off every screen.
  void save_place();
  void Form_Unload();
  // The status line fills the space from the buttons to the grid's right edge.
  void place_status_line();
  void elide_status(const QString& text);
  void apply_column_widths();
  void column_resized(int column, int new_size);
  // The columns fitted to the grid's width and the rows in view.
  void fit_columns();

  SettingsStore& settings_;
  Session& session_;
  Songlist& songlist_;
  QTimer& tmrJukora_;
  SonglistModel* const model_;
  QPushButton* const cmdIncDec_[2];
  QLabel* const lblStatus_;
  SonglistView* const MSFlexGrid1_;
  ChanceColumn* chance_ = nullptr;
  GridSearch* const search_;
  const std::unique_ptr<ModeMenu> mnuBase_;
  QTimer status_age_;

  // The columns' widths in twips, as the settings keep them.
  std::array<int, kColumns> widths_{};
  int width_margin_ = 0;
  int height_margin_ = 0;
  bool is_loaded_ = false;
  // Directory's and File's share of the grid, in twips.
  std::pair<int, int> weights_{kDefaultColumnWidth, kDefaultColumnWidth};
  // Columns the person sized while the program runs.
  std::array<bool, kColumns> held_{};
  // The widest text each number column has shown while the program runs.
  std::array<int, kColumns> grown_{};
  bool placing_columns_ = false;
  bool sizing_columns_ = false;
  bool syncing_ = false;
  // The cursor's row is scrolled into view at the next showing, whether or
  // not the selection moved (the rows shown changed under it).
  bool scroll_to_cursor_ = false;
};

}  // namespace jukora
