// SPDX-License-Identifier: GPL-3.0-or-later
// One kind of player's fields in the Preferences, below the player list:
// filled from the settings with the rest of the dialog and saved with it.
#pragma once

#include <QWidget>

namespace jukora {

class SettingsStore;

class PlayerPage : public QWidget {
  Q_OBJECT

 public:
  using QWidget::QWidget;

  virtual void load(const SettingsStore& settings) = 0;
  virtual void save(SettingsStore& settings) = 0;

 signals:
  // The user changed a field (what the page fills in by itself is no edit).
  void edited();
};

}  // namespace jukora
