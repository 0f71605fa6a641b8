// SPDX-License-Identifier: GPL-3.0-or-later
// The Preferences' "Share scores": whether every score change goes out to
// MPD's rating sticker and to the files' own tags, each off until turned on.
// Filled from the settings with the rest of the dialog and saved with it.
#pragma once

#include <QGroupBox>

class QCheckBox;
class QLabel;

namespace jukora {

class SettingsStore;

class ShareScoresBox : public QGroupBox {
  Q_OBJECT

 public:
  explicit ShareScoresBox(QWidget* parent = nullptr);

  void load(const SettingsStore& settings);
  void save(SettingsStore& settings) const;

  QCheckBox* const chkShareMpd;
  QCheckBox* const chkShareTags;
  QLabel* const lblMpris;

 signals:
  // One was turned on or off.
  void edited();
};

}  // namespace jukora
