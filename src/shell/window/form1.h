// SPDX-License-Identifier: GPL-3.0-or-later
// The main window: the songlist grid, the two score buttons and the search
// field. It shows the Songlist as the program leaves it, brings itself up in
// order at start-up, lays out on resize, remembers its geometry and saves
// its state when closed. What its events ask of the program goes through
// its hooks, which the application object (app.h) fills.
#pragma once

#include <QString>
#include <QTimer>
#include <QWidget>
#include <array>
#include <functional>
#include <optional>
#include <string>

#include "songlist/chosen_rows.h"
#include "songlist/songlist.h"

class QLabel;
class QPushButton;

namespace jukora {

class GridSearch;
class SettingsStore;
class Songlist;
class SonglistModel;
class SonglistView;

// Where the program plugs in. Each is optional.
struct Form1Hooks {
  // Start-up, once the grid is set up: the check that the player's folder
  // holds its program.
  std::function<void()> check_player_folder;
  // Start-up, once the window's icon is set and before the captions.
  std::function<void()> add_tray_icons;
  // Start-up, once the window is placed: the captions, then the songlist.
  std::function<void()> read_songlist;
  // Whether the tray icons can be seen. Without them the window is the only
  // way into the program, so it is shown whatever "visible" says.
  std::function<bool()> tray_available;
  // First thing when the window closes.
  std::function<void()> remove_tray_icons;
  // When the window closes, once its own state is saved.
  std::function<void()> closing;
  // The buttons and the grid's keys.
  std::function<void(int index)> cmdIncDec_Click;
  std::function<void(int key_ascii)> MSFlexGrid1_KeyPress;
  std::function<void(int key_code, int shift)> MSFlexGrid1_KeyDown;
  // The right button released over the grid, at this screen position.
  std::function<void(const QPoint&)> show_mode_menu;
  // A double-click on the grid, or Enter in it: play the current row.
  std::function<void()> MSFlexGrid1_DblClick;
  // Every tick of tmrJukora.
  std::function<void()> tmrJukora_Timer;
  // Ctrl+J: the row of the song the player is at, selected and in view.
  std::function<void()> show_playing;
};

class Form1 : public QWidget {
  Q_OBJECT

 public:
  // Shows `songlist` and keeps its geometry, widths and visible flag in `settings`.
  Form1(SettingsStore& settings, Songlist& songlist, QWidget* parent = nullptr);

  Form1Hooks hooks;

  // Start-up: call once, after the hooks are set. Ends with the window shown
  // or hidden as "visible" says.
  void Form_Load();

  // Shows the Songlist as behaviour left it: cells, selection, and the
  // current row scrolled into view when the cursor moved.
  void show_songlist();

  // What Exit saves of the window before the program leaves: the visible
  // flag and the column widths, when they changed.
  void save_changes();

  // A line beside the score buttons: where a word to the user goes when
  // the desktop has neither a notification service nor a tray.
  void show_status(const QString& text);

  // The songs the score keys, the buttons and Delete act on when they are
  // not the range Row..RowSel: the selected rows a search shows.
  std::optional<ChosenRows> chosen_rows();
  // Data row `row` made current and scrolled into view, ending a search
  // that hides it.
  void show_row(int row);
  // The song the player is at, marked in the grid; empty for none.
  void mark_playing(const std::string& directory, const std::string& file);

  // Each runs its hook, then shows the songlist as it left it.
  void cmdIncDec_Click(int index);
  void MSFlexGrid1_KeyPress(int key_ascii);
  void MSFlexGrid1_KeyDown(int key_code, int shift);
  void MSFlexGrid1_DblClick();
  void tmrJukora_Timer();

  QTimer& tmrJukora() { return tmrJukora_; }
  SonglistView& MSFlexGrid1() { return *MSFlexGrid1_; }
  QPushButton& cmdIncDec(int index) { return *cmdIncDec_[index == 0 ? 0 : 1]; }
  QLabel& lblStatus() { return *lblStatus_; }
  GridSearch& search() { return *search_; }

  int width_margin() const { return width_margin_; }
  int height_margin() const { return height_margin_; }
  bool is_loaded() const { return is_loaded_; }

 signals:
  // The window was closed and its state saved: the program ends.
  void unloaded();

 protected:
  void resizeEvent(QResizeEvent* event) override;
  void closeEvent(QCloseEvent* event) override;

 private:
  void Form_Resize();
  void Form_Unload();
  // The status line fills the space from the buttons to the grid's right edge.
  void place_status_line();
  void apply_column_widths();
  void column_resized(int column, int new_size);
  // While no widths are stored: until songs come, the headers are not cut;
  // the first songs make every column as wide as its texts, the folders and
  // names narrower where the grid is too small for them all.
  void fit_headers();
  void size_columns_to_contents();

  SettingsStore& settings_;
  Songlist& songlist_;
  SonglistModel* const model_;
  QPushButton* const cmdIncDec_[2];
  QLabel* const lblStatus_;
  SonglistView* const MSFlexGrid1_;
  GridSearch* const search_;
  QTimer tmrJukora_;

  // The columns' widths in twips, as the settings keep them.
  std::array<int, kColumns> widths_{};
  int width_margin_ = 0;
  int height_margin_ = 0;
  bool is_loaded_ = false;
  bool placing_columns_ = false;
  bool columns_to_size_ = false;
  bool sizing_columns_ = false;
  bool syncing_ = false;
  bool in_timer_ = false;
  // The cursor's row is scrolled into view at the next showing, whether or
  // not the selection moved (the rows shown changed under it).
  bool scroll_to_cursor_ = false;
};

}  // namespace jukora
