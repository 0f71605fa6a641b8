// SPDX-License-Identifier: GPL-3.0-or-later
// The Preferences page of a desktop player reached over MPRIS: which of the
// players running now (by Identity; the program's own mpv left out), and the
// command that starts it. Stores the player's bus name, the Identity and the
// command under "player".
#pragma once

#include <QPointer>
#include <string>
#include <vector>

#include "shell/preferences/player_page.h"

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace jukora {

class MprisDirectory;
struct MprisPlayer;

class MprisPage : public PlayerPage {
  Q_OBJECT

 public:
  explicit MprisPage(QWidget* parent = nullptr);

  // Where the running players are found; none: only the stored one is shown.
  void set_directory(MprisDirectory* directory);

  void load(const SettingsStore& settings) override;
  void save(SettingsStore& settings) override;

  // Asks the bus again which players run.
  void refresh();

  QComboBox* const cboMprisPlayer;
  QPushButton* const RefreshButton;
  QLineEdit* const txtCommand;
  QLabel* const lblNote;

 private:
  void fill(const std::vector<MprisPlayer>& running);
  void player_chosen();
  // The command a player is usually started with.
  static QString command_guess(const QString& name, const QString& desktop_entry);

  MprisDirectory* directory_ = nullptr;
  // What the settings hold, kept in the list while that player is not running.
  QString stored_name_, stored_identity_;
  // The command last filled in for the user, replaced when another player is picked.
  QString guessed_command_;
  int listing_ = 0;
};

}  // namespace jukora
