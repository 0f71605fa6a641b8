// SPDX-License-Identifier: GPL-3.0-or-later
// The Preferences page for MPD as the player: where MPD listens (a socket
// path, or a host name and a port), an optional password, and MPD's music
// folder as this computer sees it. Boxes never saved show what every MPD
// client would use (MPD_HOST, MPD_PORT).
#pragma once

#include "shell/preferences/player_page.h"

class QLineEdit;

namespace jukora {

class SettingsStore;

class MpdPage : public PlayerPage {
  Q_OBJECT

 public:
  explicit MpdPage(QWidget* parent = nullptr);

  void load(const SettingsStore& settings) override;
  void save(SettingsStore& settings) override;

  QLineEdit* const txtHost;
  QLineEdit* const txtPort;
  QLineEdit* const txtPassword;
  QLineEdit* const txtMusicFolder;

 private:
  bool loading_ = false;
};

}  // namespace jukora
