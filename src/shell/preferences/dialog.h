// SPDX-License-Identifier: GPL-3.0-or-later
// The Preferences dialog ("Jukora Preferences"): the player's folder, the
// replay limit in hours, the two auto-add switches and desktop
// notifications; on Linux also which player, each kind with its own page of
// fields, and where scores are shared. Modeless; it is either closed, filled but hidden (the folder
// chooser read or wrote its folder box), or shown.
#pragma once

#include <QDialog>
#include <vector>

class QCheckBox;
class QComboBox;
class QLabel;
class QVBoxLayout;
class QLineEdit;
class QKeyEvent;
class QPushButton;

namespace jukora {

class MpdPage;
class MprisDirectory;
class MprisPage;
class PlayerPage;
class SettingsStore;
class ListeningBox;
class ShareScoresBox;
class PlayerLink;
struct PlayerTexts;

// One page of fields shown at a time, and only the page shown counts for the
// dialog's size. A stacked widget takes the tallest page's height for a
// width, which left blank space under the shorter pages.
class PlayerPages : public QWidget {
 public:
  explicit PlayerPages(QWidget* parent);
  void addWidget(QWidget* page);
  void setCurrentIndex(int index);
  int currentIndex() const { return current_; }
  QWidget* currentWidget() const;

 private:
  QVBoxLayout* const layout_;
  std::vector<QWidget*> pages_;
  int current_ = -1;
};

class Dialog : public QDialog {
  Q_OBJECT

 public:
  // The texts that name the player come from `link`, read again at every filling.
  Dialog(SettingsStore& settings, const PlayerLink& link, QWidget* parent = nullptr);

  // Shows the dialog, filling it from the settings first when it is closed;
  // a filled dialog keeps its pending edits and its Apply state.
  void show_dialog();
  // Fills the dialog without showing it, unless it is filled already.
  void ensure_loaded();
  // Closes it without saving.
  void close_dialog();
  bool dialog_loaded() const { return dialog_loaded_; }

  // The folder box, as the folder chooser reads and writes it.
  QString winamp_dir_text();
  void set_winamp_dir_text(const QString& text);

  // The words for the player in use ("Winamp Directory", "mpv Folder" ...).
  PlayerTexts player_texts() const;
  // Puts them on the folder label and the tooltips.
  void show_player_texts();
  // Offers another kind of player (the setting "player"/"kind") in the
  // player list, under `caption`, with its page of fields.
  void add_player_kind(const QString& kind, const QString& caption, PlayerPage* page);
  // Where the MPRIS page finds the players that run (Linux).
  void set_mpris_directory(MprisDirectory* directory);

  QPushButton* const OKButton;
  QPushButton* const CancelButton;
  QPushButton* const ApplyButton;
  QLabel* const Label1;
  QLineEdit* const txtWinampDir;
  QPushButton* const BrowseButton;
  QCheckBox* const chkInc;
  QCheckBox* const chkDec;
  QLabel* const Label2[2];
  QLineEdit* const txtHours;
  // Under the hours line: when a song played now may play again.
  QLabel* const lblHoursNote;
  QCheckBox* const chkNotify;
  // Which player, and the page of its fields; the first page holds the
  // player's folder (Label1, txtWinampDir, BrowseButton). Linux only.
  QLabel* const lblPlayer;
  QComboBox* const cboPlayer;
  PlayerPages* const player_pages;
  MprisPage* const mpris_page;
  MpdPage* const mpd_page;
  // Where scores go out besides the songlist (POSIX; hidden on Windows).
  ShareScoresBox* const share_scores;
  ListeningBox* const listening;

 signals:
  // Browse was pressed on a filled dialog.
  void browse_requested();
  void closed();

 public slots:
  // Escape and the close box.
  void reject() override;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  // Construction: the controls' states and tips, their places, the order
  // Tab visits them in, and what their changes do.
  void prepare_controls();
  void lay_out();
  void set_tab_order();
  void connect_controls();

  void Form_Load();
  void load_prefs();
  void save_prefs();
  // Every user change (and the chooser's) enables Apply; filling does not.
  void control_changed();
  static bool txtHours_KeyPress(const QKeyEvent& key);
  void txtHours_Edited(const QString& text);
  void show_hours_note();
  void OKButton_Click();
  void ApplyButton_Click();
  void CancelButton_Click();
  void BrowseButton_Click();

  void show_player_page();

  SettingsStore& settings_;
  const PlayerLink& link_;
  std::vector<PlayerPage*> pages_;
  bool dialog_loaded_ = false;
};

}  // namespace jukora
