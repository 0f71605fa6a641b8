// SPDX-License-Identifier: GPL-3.0-or-later
#include "shell/preferences/listening_box.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QLabel>
#include <QSpinBox>
#include <cstdint>

#include "platform/settings_keys.h"

namespace jukora {

namespace {

QSpinBox* spin_box(const WholeRange& range, const char* suffix, QWidget* parent) {
  auto* box = new QSpinBox(parent);
  box->setRange(static_cast<int>(range.min), static_cast<int>(range.max));
  box->setSuffix(QString::fromUtf8(suffix));
  return box;
}

}  // namespace

ListeningBox::ListeningBox(QWidget* parent)
    : QGroupBox("Listening", parent),
      chkListen(new QCheckBox("Learn scores from listening", this)),
      spnEndShare(spin_box(kEndShareRange, " %", this)),
      spnGraceSecs(spin_box(kGraceSecsRange, " s", this)),
      spnSkipShare(spin_box(kSkipShareRange, " %", this)),
      chkListenNotify(new QCheckBox("Tell me when listening changes a score", this)),
      chkFloor(new QCheckBox("Random skips songs scored below", this)),
      spnFloor(new QSpinBox(this)) {
  chkListen->setToolTip(
      "A song played to its end gains 1; one left early (Skip, the player's Next, another song), after its first "
      "seconds and before its middle, loses 1");
  spnEndShare->setToolTip("The end of a song: its last part of this share, or its last 10 seconds when shorter");
  spnGraceSecs->setToolTip("A song left within its first seconds never loses");
  spnSkipShare->setToolTip("A song left before this share of it loses 1");
  chkListenNotify->setToolTip("A desktop notification, with Undo, for each score listening changes");
  chkFloor->setToolTip("Random All and Random Top 20 pass over songs scored below this");
  spnFloor->setRange(INT32_MIN, INT32_MAX);
  auto* layout = new QGridLayout(this);
  layout->addWidget(chkListen, 0, 0, 1, 2);
  const std::pair<const char*, QSpinBox*> numbers[] = {
      {"End of a song: its last", spnEndShare}, {"Left within", spnGraceSecs}, {"Skipped before", spnSkipShare}};
  int row = 1;
  for (const auto& [words, box] : numbers) {
    auto* label = new QLabel(words, this);
    label->setBuddy(box);
    layout->addWidget(label, row, 0);
    layout->addWidget(box, row++, 1);
  }
  layout->addWidget(chkListenNotify, row++, 0, 1, 2);
  layout->addWidget(chkFloor, row, 0);
  layout->addWidget(spnFloor, row, 1);
  for (QCheckBox* box : {chkListen, chkListenNotify, chkFloor})
    connect(box, &QCheckBox::toggled, this, &ListeningBox::edited);
  for (QSpinBox* box : {spnEndShare, spnGraceSecs, spnSkipShare, spnFloor})
    connect(box, &QSpinBox::valueChanged, this, &ListeningBox::edited);
  connect(chkListen, &QCheckBox::toggled, this, &ListeningBox::enable_numbers);
  connect(chkFloor, &QCheckBox::toggled, this, &ListeningBox::enable_numbers);
}

void ListeningBox::load(const SettingsStore& settings) {
  chkListen->setChecked(read_listen_scores(settings));
  spnEndShare->setValue(read_end_share(settings));
  spnGraceSecs->setValue(read_grace_secs(settings));
  spnSkipShare->setValue(read_skip_share(settings));
  chkListenNotify->setChecked(read_listen_notify(settings));
  chkFloor->setChecked(read_floor_on(settings));
  spnFloor->setValue(read_floor_score(settings));
  enable_numbers();
}

void ListeningBox::save(SettingsStore& settings) const {
  if (chkListen->isChecked() != read_listen_scores(settings)) save_listen_scores(settings, chkListen->isChecked());
  if (spnEndShare->value() != read_end_share(settings)) save_end_share(settings, spnEndShare->value());
  if (spnGraceSecs->value() != read_grace_secs(settings)) save_grace_secs(settings, spnGraceSecs->value());
  if (spnSkipShare->value() != read_skip_share(settings)) save_skip_share(settings, spnSkipShare->value());
  if (chkListenNotify->isChecked() != read_listen_notify(settings))
    save_listen_notify(settings, chkListenNotify->isChecked());
  if (chkFloor->isChecked() != read_floor_on(settings)) save_floor_on(settings, chkFloor->isChecked());
  if (spnFloor->value() != read_floor_score(settings)) save_floor_score(settings, spnFloor->value());
}

void ListeningBox::enable_numbers() {
  for (QSpinBox* box : {spnEndShare, spnGraceSecs, spnSkipShare}) box->setEnabled(chkListen->isChecked());
  chkListenNotify->setEnabled(chkListen->isChecked());
  spnFloor->setEnabled(chkFloor->isChecked());
}

}  // namespace jukora
