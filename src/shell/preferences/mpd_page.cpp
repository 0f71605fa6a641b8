// SPDX-License-Identifier: GPL-3.0-or-later
#include "shell/preferences/mpd_page.h"

#include <QFormLayout>
#include <QIntValidator>
#include <QLabel>
#include <QLineEdit>

#include "platform/settings_keys.h"
#include "platform/settings_store.h"
#include "player/mpd/mpd_address.h"

namespace jukora {

MpdPage::MpdPage(QWidget* parent)
    : PlayerPage(parent),
      txtHost(new QLineEdit(this)),
      txtPort(new QLineEdit(this)),
      txtPassword(new QLineEdit(this)),
      txtMusicFolder(new QLineEdit(this)) {
  txtHost->setPlaceholderText("/run/mpd/socket or a host name");
  txtHost->setToolTip("MPD's local socket, or the name or address of the machine MPD runs on");
  txtPort->setValidator(new QIntValidator(1, 65535, txtPort));
  txtPort->setToolTip("The TCP port MPD listens on; not used with a socket");
  txtPassword->setEchoMode(QLineEdit::Password);
  txtPassword->setPlaceholderText("none");
  txtMusicFolder->setPlaceholderText("asked of MPD over a local socket");
  txtMusicFolder->setToolTip(
      "MPD's music_directory as this computer sees it (the same folder, or where it is mounted here)");
  txtMusicFolder->setMinimumWidth(320);

  auto* note = new QLabel(
      "Jukora does not start MPD. A song or playlist Jukora hands over replaces MPD's queue; repeat, random, "
      "single and consume stay off while a cycle or playlist of Jukora's plays and come back at Stop.",
      this);
  note->setWordWrap(true);
  auto* form = new QFormLayout(this);
  form->setContentsMargins(0, 0, 0, 0);
  form->addRow("&Host:", txtHost);
  form->addRow("&Port:", txtPort);
  form->addRow("Pass&word:", txtPassword);
  form->addRow("&Music folder:", txtMusicFolder);
  form->addRow(note);

  for (QLineEdit* box : {txtHost, txtPort, txtPassword, txtMusicFolder})
    connect(box, &QLineEdit::textChanged, this, [this] {
      if (!loading_) emit edited();
    });
}

void MpdPage::load(const SettingsStore& settings) {
  loading_ = true;
  const MpdAddress address = read_mpd_address(settings);
  txtHost->setText(QString::fromStdString(address.host));
  txtPort->setText(QString::number(address.port));
  txtPassword->setText(QString::fromStdString(address.password));
  txtMusicFolder->setText(QString::fromStdString(read_mpd_music_folder_text(settings)));
  loading_ = false;
}

void MpdPage::save(SettingsStore& settings) {
  save_mpd_fields(settings, {txtHost->text().trimmed().toStdString(), txtPort->text().toStdString(),
                             txtPassword->text().toStdString(), txtMusicFolder->text().trimmed().toStdString()});
}

}  // namespace jukora
