// SPDX-License-Identifier: GPL-3.0-or-later
#ifndef _WIN32

#include "shell/preferences/mpris_page.h"

#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "platform/settings_keys.h"
#include "platform/settings_store.h"
#include "player/command_line.h"
#include "player/mpris/mpris_rules.h"

namespace jukora {

namespace {

enum Role { kName = Qt::UserRole, kIdentity, kDesktopEntry };

QString q(const std::string& text) { return QString::fromStdString(text); }

}  // namespace

MprisPage::MprisPage(QWidget* parent)
    : PlayerPage(parent),
      cboMprisPlayer(new QComboBox(this)),
      RefreshButton(new QPushButton("Refresh", this)),
      txtCommand(new QLineEdit(this)),
      lblNote(new QLabel(this)) {
  auto* player_label = new QLabel("Which player", this);
  player_label->setBuddy(cboMprisPlayer);
  auto* command_label = new QLabel("Command that starts it", this);
  command_label->setBuddy(txtCommand);
  cboMprisPlayer->setToolTip("The desktop players running now that Jukora can reach over MPRIS");
  cboMprisPlayer->setPlaceholderText("Pick a player");
  cboMprisPlayer->setSizeAdjustPolicy(QComboBox::AdjustToContents);
  RefreshButton->setToolTip("Look again for running players");
  RefreshButton->setAutoDefault(false);
  txtCommand->setToolTip("How Jukora starts the player when it is not running");
  txtCommand->setPlaceholderText("e.g. audacious");
  lblNote->setWordWrap(true);

  auto* grid = new QGridLayout(this);
  grid->setContentsMargins(0, 0, 0, 0);
  grid->addWidget(player_label, 0, 0);
  grid->addWidget(cboMprisPlayer, 0, 1);
  grid->addWidget(RefreshButton, 0, 2);
  grid->addWidget(command_label, 1, 0);
  grid->addWidget(txtCommand, 1, 1, 1, 2);
  grid->addWidget(lblNote, 2, 0, 1, 3);
  grid->setColumnStretch(1, 1);

  connect(cboMprisPlayer, &QComboBox::activated, this, [this] {
    player_chosen();
    emit edited();
  });
  connect(txtCommand, &QLineEdit::textEdited, this, &PlayerPage::edited);
  connect(RefreshButton, &QPushButton::clicked, this, &MprisPage::refresh);
}

void MprisPage::set_directory(MprisDirectory* directory) { directory_ = directory; }

void MprisPage::load(const SettingsStore& settings) {
  stored_name_ = q(read_mpris_bus_name(settings));
  stored_identity_ = q(read_mpris_identity(settings));
  if (stored_identity_.isEmpty()) stored_identity_ = stored_name_;
  txtCommand->setText(q(read_mpris_command(settings)));
  guessed_command_.clear();
  cboMprisPlayer->clear();
  fill({});
  refresh();
}

void MprisPage::save(SettingsStore& settings) {
  const QString name = cboMprisPlayer->currentData(kName).toString();
  if (!name.isEmpty())
    save_mpris_player(settings, name.toStdString(), cboMprisPlayer->currentData(kIdentity).toString().toStdString());
  save_mpris_command(settings, txtCommand->text().toStdString());
}

void MprisPage::refresh() {
  const std::string unavailable = directory_ ? directory_->unavailable() : std::string();
  cboMprisPlayer->setEnabled(unavailable.empty());
  RefreshButton->setEnabled(directory_ && unavailable.empty());
  if (!directory_ || !unavailable.empty()) {
    fill({});
    lblNote->setText(q(unavailable));
    return;
  }
  // Only the latest answer counts; the page may be gone when it comes.
  const int ticket = ++listing_;
  QPointer<MprisPage> page(this);
  directory_->list_players([page, ticket](std::vector<MprisPlayer> running) {
    if (page && page->listing_ == ticket) page->fill(running);
  });
}

void MprisPage::fill(const std::vector<MprisPlayer>& running) {
  QString chosen = cboMprisPlayer->currentData(kName).toString();
  cboMprisPlayer->clear();
  std::vector<std::string> names;
  for (const MprisPlayer& player : running) {
    cboMprisPlayer->addItem(q(player.identity));
    const int at = cboMprisPlayer->count() - 1;
    cboMprisPlayer->setItemData(at, q(player.name), kName);
    cboMprisPlayer->setItemData(at, q(player.identity), kIdentity);
    cboMprisPlayer->setItemData(at, q(player.desktop_entry), kDesktopEntry);
    names.push_back(player.name);
  }
  // A name stored by an older version stands for the player it began.
  const auto stored_runs = running_player_named(stored_name_.toStdString(), names);
  if (chosen.isEmpty()) chosen = stored_name_;
  if (stored_runs && chosen == stored_name_) chosen = q(*stored_runs);
  if (!stored_name_.isEmpty() && !stored_runs) {
    cboMprisPlayer->addItem(stored_identity_ + " (not running)");
    const int at = cboMprisPlayer->count() - 1;
    cboMprisPlayer->setItemData(at, stored_name_, kName);
    cboMprisPlayer->setItemData(at, stored_identity_, kIdentity);
  }
  cboMprisPlayer->setCurrentIndex(chosen.isEmpty() ? -1 : cboMprisPlayer->findData(chosen, kName));
  lblNote->setText(running.empty() ? "No desktop player is running now.  Start yours, then press Refresh." : "");
}

void MprisPage::player_chosen() {
  const QString guess = command_guess(cboMprisPlayer->currentData(kName).toString(),
                                      cboMprisPlayer->currentData(kDesktopEntry).toString());
  // A command the user typed stays; one filled in for another player goes.
  if (txtCommand->text().isEmpty() || txtCommand->text() == guessed_command_) {
    txtCommand->setText(guess);
    guessed_command_ = guess;
  }
}

QString MprisPage::command_guess(const QString& name, const QString& desktop_entry) {
  const std::string search = program_search_path();
  // "io.github.celluloid_player.Celluloid" is started as "celluloid".
  const QString last_part = name.section('.', -1);
  for (const QString& guess : {desktop_entry, name, last_part, last_part.toLower()})
    if (!guess.isEmpty() && !find_program(guess.toStdString(), search).empty()) return guess;
  return name;
}

}  // namespace jukora

#endif
