// SPDX-License-Identifier: GPL-3.0-or-later
// The main window: the songlist grid and the two score buttons. It owns the
// Songlist and everything that works on it for the life of the program,
// brings them up in order at start-up, lays out on resize, remembers its
// geometry and saves its state when closed.
#pragma once

#include <QString>
#include <QTimer>
#include <QWidget>
#include <functional>

#include "platform/app_folders.h"
#include "platform/desktop.h"
#include "shell/qt_play_timer.h"
#include "songlist/songlist.h"
#include "songlist/songlist_files.h"

class QLabel;
class QPushButton;

namespace jukora {

class Dialog;
class DirDialog;
class QtDesktop;
class SettingsStore;
class SonglistModel;
class SonglistView;
class PlayerLink;

// Where the play modes and the tray plug in. Each is optional.
struct Form1Hooks {
  // Start-up, once the window's icon is set and before the captions.
  std::function<void()> add_tray_icons;
  // Whether the tray icons can be seen. Without them the window is the only
  // way into the program, so it is shown whatever "visible" says.
  std::function<bool()> tray_available;
  // First thing when the window closes.
  std::function<void()> remove_tray_icons;
  // The right button released over the grid, at this screen position.
  std::function<void(const QPoint&)> show_mode_menu;
  // A double-click on the grid, or Enter in it: play the current row.
  std::function<void()> MSFlexGrid1_DblClick;
  // Every tick of tmrJukora.
  std::function<void()> tmrJukora_Timer;
};

class Form1 : public QWidget {
  Q_OBJECT

 public:
  Form1(SettingsStore& settings, PlayerLink& link, QtDesktop& desktop, AppFolders folders, QWidget* parent = nullptr);
  ~Form1() override;

  Form1Hooks hooks;

  // Start-up: call once, after the hooks are set. Ends with the window shown
  // or hidden as "visible" says.
  void Form_Load();

  // Shows the Songlist as behaviour left it: cells, selection, and the
  // current row scrolled into view when the cursor moved.
  void show_songlist();

  // What Exit saves before the program leaves: a direct play's Last Played
  // and the visible flag and column widths when they changed, each with the
  // guards of every save.
  void save_changes();

  // A line beside the score buttons: where a word to the user goes when
  // the desktop has neither a notification service nor a tray.
  void show_status(const QString& text);

  void cmdIncDec_Click(int index);
  void MSFlexGrid1_KeyPress(int key_ascii);
  void MSFlexGrid1_KeyDown(int key_code, int shift);
  void tmrJukora_Timer();

  Songlist& songlist() { return songlist_; }
  SonglistFiles& files() { return files_; }
  SettingsStore& settings() { return settings_; }
  Desktop& desktop();
  PlayerLink& link() { return link_; }
  const AppFolders& folders() const { return folders_; }
  DialogMemory& dialog_memory() { return dialog_memory_; }
  PlayTimer& play_timer() { return play_timer_; }
  QTimer& tmrJukora() { return tmrJukora_; }
  SonglistView& MSFlexGrid1() { return *MSFlexGrid1_; }
  QPushButton& cmdIncDec(int index) { return *cmdIncDec_[index == 0 ? 0 : 1]; }
  QLabel& lblStatus() { return *lblStatus_; }
  Dialog& preferences() { return *Dialog_; }
  DirDialog& dir_dialog() { return *DirDialog_; }

  // The mode menu's Songlist item: "Songlist (name)".
  QString songlist_caption() const { return songlist_caption_; }

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
  PlayerLink& link_;
  QtDesktop& desktop_;
  const AppFolders folders_;
  DialogMemory dialog_memory_;
  Songlist songlist_;
  SonglistFiles files_;
  SonglistModel* const model_;
  QPushButton* const cmdIncDec_[2];
  QLabel* const lblStatus_;
  SonglistView* const MSFlexGrid1_;
  QTimer tmrJukora_;
  QtPlayTimer play_timer_{tmrJukora_};
  Dialog* const Dialog_;
  DirDialog* const DirDialog_;

  QString songlist_caption_ = QStringLiteral("Songlist ()");
  int width_margin_ = 0;
  int height_margin_ = 0;
  bool is_loaded_ = false;
  bool placing_columns_ = false;
  bool columns_to_size_ = false;
  bool sizing_columns_ = false;
  bool syncing_ = false;
  bool in_timer_ = false;
};

}  // namespace jukora
