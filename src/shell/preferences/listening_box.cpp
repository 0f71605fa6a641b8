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
  const ListeningPrefs prefs = read_listening_prefs(settings);
  chkListen->setChecked(prefs.listen);
  spnEndShare->setValue(prefs.end_share);
  spnGraceSecs->setValue(prefs.grace_secs);
  spnSkipShare->setValue(prefs.skip_share);
  chkListenNotify->setChecked(prefs.notify);
  chkFloor->setChecked(prefs.floor_on);
  spnFloor->setValue(prefs.floor_score);
  enable_numbers();
}

void ListeningBox::save(SettingsStore& settings) const {
  save_listening_prefs(settings,
                       {chkListen->isChecked(), spnEndShare->value(), spnGraceSecs->value(), spnSkipShare->value(),
                        chkListenNotify->isChecked(), chkFloor->isChecked(), spnFloor->value()});
}

void ListeningBox::enable_numbers() {
  for (QSpinBox* box : {spnEndShare, spnGraceSecs, spnSkipShare}) box->setEnabled(chkListen->isChecked());
  chkListenNotify->setEnabled(chkListen->isChecked());
  spnFloor->setEnabled(chkFloor->isChecked());
}

}  // namespace jukora
