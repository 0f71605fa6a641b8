// SPDX-License-Identifier: GPL-3.0-or-later
#include "shell/preferences/share_scores_box.h"

#include <QCheckBox>
#include <QLabel>
#include <QVBoxLayout>

#include "platform/settings_keys.h"

namespace jukora {

ShareScoresBox::ShareScoresBox(QWidget* parent)
    : QGroupBox("Share scores", parent),
      chkShareMpd(new QCheckBox("MPD's rating sticker", this)),
      chkShareTags(new QCheckBox("The files' own tags", this)),
      lblMpris(new QLabel("Players reached over MPRIS get nothing: MPRIS cannot set a rating.", this)) {
  chkShareMpd->setToolTip(
      "After every score change, set the song's rating sticker (0-10) in MPD, which Cantata, myMPD and rmpc "
      "show; MPD needs a sticker_file in its configuration");
  chkShareTags->setToolTip(
      "After every score change, write FMPS_Rating (in MP3s also a POPM frame of Jukora's) into the song file; "
      "its other tags and its audio stay as they are");
  lblMpris->setWordWrap(true);
  lblMpris->setEnabled(false);  // a note, not a control
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(chkShareMpd);
  layout->addWidget(chkShareTags);
  layout->addWidget(lblMpris);
  for (QCheckBox* box : {chkShareMpd, chkShareTags}) connect(box, &QCheckBox::toggled, this, &ShareScoresBox::edited);
}

void ShareScoresBox::load(const SettingsStore& settings) {
  chkShareMpd->setChecked(read_share_mpd(settings));
  chkShareTags->setChecked(read_share_tags(settings));
}

void ShareScoresBox::save(SettingsStore& settings) const {
  save_share_mpd(settings, chkShareMpd->isChecked());
  save_share_tags(settings, chkShareTags->isChecked());
}

}  // namespace jukora
