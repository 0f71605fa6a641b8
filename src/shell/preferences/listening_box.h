// SPDX-License-Identifier: GPL-3.0-or-later
// The Preferences' "Listening": "Learn scores from listening" with the
// rule's three numbers, "Tell me when listening changes a score", and the
// floor Random keeps to ("Random skips songs scored below N"), each off
// until turned on. Filled from the settings with the rest of the dialog;
// saved with it, but only what the person changed, so that a dialog
// closed with OK leaves no new keys behind.
#pragma once

#include <QGroupBox>

class QCheckBox;
class QSpinBox;

namespace jukora {

class SettingsStore;

class ListeningBox : public QGroupBox {
  Q_OBJECT

 public:
  explicit ListeningBox(QWidget* parent = nullptr);

  void load(const SettingsStore& settings);
  void save(SettingsStore& settings) const;

  QCheckBox* const chkListen;
  QSpinBox* const spnEndShare;
  QSpinBox* const spnGraceSecs;
  QSpinBox* const spnSkipShare;
  QCheckBox* const chkListenNotify;
  QCheckBox* const chkFloor;
  QSpinBox* const spnFloor;

 signals:
  // A control was changed.
  void edited();

 private:
  // The numbers shown only matter while listening is on.
  void enable_numbers();
};

}  // namespace jukora
