// SPDX-License-Identifier: GPL-3.0-or-later
#include "shell/preferences/dialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>
#include <algorithm>

#include "platform/settings_keys.h"
#include "platform/settings_store.h"
#include "player/player_link.h"
#include "playmodes/replay_words.h"
#include "shell/local_text.h"
#include "shell/preferences/listening_box.h"
#include "shell/preferences/mpd_page.h"
#include "shell/preferences/mpris_page.h"
#include "shell/preferences/share_scores_box.h"

namespace jukora {

namespace {

constexpr const char* kHoursTip = "Limit replay to number of hours provided";

}  // namespace

PlayerPages::PlayerPages(QWidget* parent) : QWidget(parent), layout_(new QVBoxLayout(this)) {
  layout_->setContentsMargins(0, 0, 0, 0);
}

void PlayerPages::addWidget(QWidget* page) {
  layout_->addWidget(page);
  pages_.push_back(page);
  page->setVisible(pages_.size() == 1);
  if (current_ < 0) current_ = 0;
}

// A hidden page takes no room in the layout.
void PlayerPages::setCurrentIndex(int index) {
  if (index < 0 || index >= static_cast<int>(pages_.size())) return;
  current_ = index;
  for (std::size_t i = 0; i < pages_.size(); ++i) pages_[i]->setVisible(static_cast<int>(i) == index);
}

QWidget* PlayerPages::currentWidget() const { return current_ < 0 ? nullptr : pages_[current_]; }

Dialog::Dialog(SettingsStore& settings, const PlayerLink& link, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                          Qt::WindowCloseButtonHint),
      OKButton(new QPushButton("OK", this)),
      CancelButton(new QPushButton("Cancel", this)),
      ApplyButton(new QPushButton("Apply", this)),
      Label1(new QLabel("Winamp Directory", this)),
      txtWinampDir(new QLineEdit(qt_text(default_winamp_dir()), this)),
      BrowseButton(new QPushButton("Browse", this)),
      chkInc(new QCheckBox("Add song on  +", this)),
      chkDec(new QCheckBox("Add song on  -", this)),
      Label2{new QLabel("Do not play more than once per", this), new QLabel("hours", this)},
      txtHours(new QLineEdit("0", this)),
      lblHoursNote(new QLabel(this)),
      chkNotify(new QCheckBox("Show desktop notifications", this)),
      lblPlayer(new QLabel("Player", this)),
      cboPlayer(new QComboBox(this)),
      player_pages(new PlayerPages(this)),
#ifdef _WIN32
      mpris_page(nullptr),
      mpd_page(nullptr),
#else
      mpris_page(new MprisPage(this)),
      mpd_page(new MpdPage(this)),
#endif
      share_scores(new ShareScoresBox(this)),
      listening(new ListeningBox(this)),
      settings_(settings),
      link_(link) {
  setWindowTitle("Jukora Preferences");
  prepare_controls();
  lay_out();
#ifndef _WIN32
  add_player_kind(QStringLiteral("mpris"), "Desktop player (MPRIS)", mpris_page);
  add_player_kind(QStringLiteral("mpd"), "MPD", mpd_page);
#endif
  set_tab_order();
  connect_controls();
}

void Dialog::prepare_controls() {
  ApplyButton->setEnabled(false);
  OKButton->setDefault(true);
  Label1->setBuddy(txtWinampDir);
  txtWinampDir->setMinimumWidth(320);
  show_player_texts();
  chkInc->setToolTip("Add a file to jukora if + is pressed and the file is not already in the songlist");
  chkDec->setToolTip("Add a file to jukora if - is pressed and the file is not already in the songlist");
  chkNotify->setToolTip("Tell in a desktop notification what a score change from the tray or the command line did");
  for (QWidget* part :
       {static_cast<QWidget*>(Label2[0]), static_cast<QWidget*>(txtHours), static_cast<QWidget*>(Label2[1])})
    part->setToolTip(kHoursTip);
  lblHoursNote->setToolTip(kHoursTip);
  lblHoursNote->setEnabled(false);  // a note, not a control
  txtHours->setFixedWidth(txtHours->fontMetrics().horizontalAdvance(QStringLiteral("00000000")));
  txtHours->installEventFilter(this);
  lblPlayer->setBuddy(cboPlayer);
  cboPlayer->setToolTip("The player Jukora feeds and asks for the playing song");
  cboPlayer->addItem("mpv (built in)", QStringLiteral("mpv"));
#ifdef _WIN32
  // Winamp is the one player on Windows, and no score is shared there.
  lblPlayer->hide();
  cboPlayer->hide();
  share_scores->hide();
#endif
}

void Dialog::lay_out() {
  auto* hours = new QHBoxLayout;
  hours->addWidget(Label2[0]);
  hours->addWidget(txtHours);
  hours->addWidget(Label2[1]);
  hours->addStretch();
  auto* grid = new QGridLayout(this);
  grid->addWidget(chkInc, 0, 0);
  grid->addWidget(chkDec, 1, 0);
  grid->addLayout(hours, 2, 0);
  grid->addWidget(lblHoursNote, 3, 0);
  grid->addWidget(chkNotify, 4, 0);
  grid->addWidget(OKButton, 0, 1);
  grid->addWidget(CancelButton, 1, 1);
  grid->addWidget(ApplyButton, 2, 1);
  grid->setRowMinimumHeight(5, 12);
  auto* player_row = new QHBoxLayout;
  player_row->addWidget(lblPlayer);
  player_row->addWidget(cboPlayer);
  player_row->addStretch();
  grid->addLayout(player_row, 6, 0, 1, 2);
  grid->addWidget(player_pages, 7, 0, 1, 2);
  grid->addWidget(share_scores, 8, 0, 1, 2);
  grid->addWidget(listening, 9, 0, 1, 2);
  grid->setSizeConstraint(QLayout::SetFixedSize);

  auto* folder_page = new QWidget(player_pages);
  auto* folder = new QGridLayout(folder_page);
  folder->setContentsMargins(0, 0, 0, 0);
  folder->addWidget(Label1, 0, 0, 1, 2);
  folder->addWidget(txtWinampDir, 1, 0);
  folder->addWidget(BrowseButton, 1, 1);
  player_pages->addWidget(folder_page);
}

void Dialog::set_tab_order() {
  std::vector<QWidget*> order = {OKButton, CancelButton, ApplyButton};
#ifndef _WIN32
  order.push_back(cboPlayer);
#endif
  order.insert(order.end(), {txtWinampDir, BrowseButton});
#ifndef _WIN32
  order.insert(order.end(), {mpris_page->cboMprisPlayer, mpris_page->RefreshButton, mpris_page->txtCommand,
                             mpd_page->txtHost, mpd_page->txtPort, mpd_page->txtPassword, mpd_page->txtMusicFolder});
#endif
  order.insert(order.end(),
               {chkInc, chkDec, txtHours, chkNotify, share_scores->chkShareMpd, share_scores->chkShareTags});
  order.insert(order.end(),
               std::initializer_list<QWidget*>{listening->chkListen, listening->spnEndShare, listening->spnGraceSecs,
                                               listening->spnSkipShare, listening->chkListenNotify, listening->chkFloor,
                                               listening->spnFloor});
  for (std::size_t i = 0; i + 1 < order.size(); ++i) setTabOrder(order[i], order[i + 1]);
}

void Dialog::connect_controls() {
  connect(cboPlayer, &QComboBox::currentIndexChanged, this, &Dialog::show_player_page);
  connect(cboPlayer, &QComboBox::activated, this, &Dialog::control_changed);
  connect(chkInc, &QCheckBox::toggled, this, &Dialog::control_changed);
  connect(chkDec, &QCheckBox::toggled, this, &Dialog::control_changed);
  connect(chkNotify, &QCheckBox::toggled, this, &Dialog::control_changed);
  connect(share_scores, &ShareScoresBox::edited, this, &Dialog::control_changed);
  connect(listening, &ListeningBox::edited, this, &Dialog::control_changed);
  connect(txtHours, &QLineEdit::textChanged, this, &Dialog::control_changed);
  connect(txtHours, &QLineEdit::textEdited, this, &Dialog::txtHours_Edited);
  connect(txtHours, &QLineEdit::textChanged, this, &Dialog::show_hours_note);
  connect(txtWinampDir, &QLineEdit::textChanged, this, &Dialog::control_changed);
  connect(OKButton, &QPushButton::clicked, this, &Dialog::OKButton_Click);
  connect(ApplyButton, &QPushButton::clicked, this, &Dialog::ApplyButton_Click);
  connect(CancelButton, &QPushButton::clicked, this, &Dialog::CancelButton_Click);
  connect(BrowseButton, &QPushButton::clicked, this, &Dialog::BrowseButton_Click);
}

void Dialog::show_dialog() {
  ensure_loaded();
  // The note names a time of day: one shown an hour ago is stale.
  show_hours_note();
  show();
  raise();
  activateWindow();
}

void Dialog::ensure_loaded() {
  if (!dialog_loaded_) Form_Load();
}

void Dialog::close_dialog() {
  dialog_loaded_ = false;
  if (isVisible()) QDialog::reject();
  emit closed();
}

QString Dialog::winamp_dir_text() {
  ensure_loaded();
  return txtWinampDir->text();
}

void Dialog::set_winamp_dir_text(const QString& text) {
  ensure_loaded();
  txtWinampDir->setText(text);
}

PlayerTexts Dialog::player_texts() const { return link_.texts(); }

void Dialog::show_player_texts() {
  const PlayerTexts texts = player_texts();
  Label1->setText(qt_text(texts.folder_label));
  // A player without tooltip texts of its own is named by its label.
  txtWinampDir->setToolTip(qt_text(texts.folder_tip.empty() ? texts.folder_label : texts.folder_tip));
  BrowseButton->setToolTip(qt_text(texts.browse_tip.empty() ? texts.folder_label : texts.browse_tip));
}

void Dialog::add_player_kind(const QString& kind, const QString& caption, PlayerPage* page) {
  cboPlayer->addItem(caption, kind);
  player_pages->addWidget(page);
  pages_.push_back(page);
  connect(page, &PlayerPage::edited, this, &Dialog::control_changed);
}

void Dialog::set_mpris_directory(MprisDirectory* directory) {
  if (mpris_page) mpris_page->set_directory(directory);
}

void Dialog::show_player_page() { player_pages->setCurrentIndex(std::max(0, cboPlayer->currentIndex())); }

void Dialog::reject() { CancelButton_Click(); }

void Dialog::Form_Load() {
  dialog_loaded_ = false;
  show_player_texts();
  load_prefs();
  dialog_loaded_ = true;
  ApplyButton->setEnabled(false);
  OKButton->setFocus();
}

void Dialog::load_prefs() {
  chkInc->setChecked(add_on_plus_checked(settings_));
  chkDec->setChecked(add_on_minus_checked(settings_));
  txtHours->setText(qt_text(read_time_block_text(settings_)));
  txtWinampDir->setText(qt_text(read_winamp_dir(settings_)));
  chkNotify->setChecked(read_notifications(settings_));
  share_scores->load(settings_);
  listening->load(settings_);
#ifndef _WIN32
  const int kind = cboPlayer->findData(qt_text(read_player_kind(settings_)));
  cboPlayer->setCurrentIndex(std::max(0, kind));
  for (PlayerPage* page : pages_) page->load(settings_);
#endif
}

void Dialog::save_prefs() {
  save_add_on_plus(settings_, chkInc->isChecked());
  save_add_on_minus(settings_, chkDec->isChecked());
  save_time_block_text(settings_, program_text(txtHours->text()));
  save_winamp_dir(settings_, program_text(txtWinampDir->text()));
  save_notifications(settings_, chkNotify->isChecked());
  share_scores->save(settings_);
  listening->save(settings_);
#ifndef _WIN32
  save_player_kind(settings_, program_text(cboPlayer->currentData().toString()));
  for (PlayerPage* page : pages_) page->save(settings_);
#endif
}

void Dialog::control_changed() {
  if (dialog_loaded_) ApplyButton->setEnabled(true);
}

bool Dialog::eventFilter(QObject* watched, QEvent* event) {
  if (watched == txtHours && event->type() == QEvent::KeyPress)
    return !txtHours_KeyPress(*static_cast<QKeyEvent*>(event));
  return QDialog::eventFilter(watched, event);
}

bool Dialog::txtHours_KeyPress(const QKeyEvent& key) {
  // Backspace is a typed character too and goes like any other non-digit;
  // Delete and selecting then typing over still edit the box.
  if (key.key() == Qt::Key_Backspace) return false;
  const QString text = key.text();
  // Keys that type nothing (arrows, Delete, Enter, shortcuts) are not
  // characters and keep their usual meaning.
  if (text.isEmpty() || text[0].unicode() < 0x20 || text[0].unicode() == 0x7f) return true;
  for (QChar c : text)
    if (c < QLatin1Char('0') || c > QLatin1Char('9')) return false;
  return true;
}

void Dialog::txtHours_Edited(const QString& text) {
  // What reaches the box without a key press (a paste, a drop) is filtered
  // like typing: only its digits stay.
  QString digits;
  int cursor = txtHours->cursorPosition();
  for (qsizetype i = 0; i < text.size(); ++i) {
    if (text[i] >= QLatin1Char('0') && text[i] <= QLatin1Char('9'))
      digits += text[i];
    else if (i < txtHours->cursorPosition())
      --cursor;
  }
  if (digits == text) return;
  txtHours->setText(digits);
  txtHours->setCursorPosition(cursor);
}

void Dialog::show_hours_note() {
  lblHoursNote->setText(qt_text(replay_note(time_block_of_text(program_text(txtHours->text())), SystemClock().now())));
}

void Dialog::OKButton_Click() {
  save_prefs();
  close_dialog();
}

void Dialog::ApplyButton_Click() {
  save_prefs();
  ApplyButton->setEnabled(false);
}

void Dialog::CancelButton_Click() { close_dialog(); }

void Dialog::BrowseButton_Click() {
  if (dialog_loaded_) emit browse_requested();
}

}  // namespace jukora
