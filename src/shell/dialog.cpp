#include "shell/dialog.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <cstdint>

#include "platform/settings_keys.h"
#include "platform/settings_store.h"

namespace jukora {

namespace {

constexpr const char* kHoursTip = "Limit replay to number of hours provided";

bool checked_setting(const SettingsStore& settings, std::string_view key) {
  // Only 1 is a checked box; any other stored value shows it clear.
  return setting_whole(settings, sections::kPrefs, key, 0, INT16_MIN, INT16_MAX) == 1;
}

std::string std_text(const QString& text) { return text.toStdString(); }

}  // namespace

Dialog::Dialog(SettingsStore& settings, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                          Qt::WindowCloseButtonHint),
      OKButton(new QPushButton("OK", this)),
      CancelButton(new QPushButton("Cancel", this)),
      ApplyButton(new QPushButton("Apply", this)),
      Label1(new QLabel("Winamp Directory", this)),
      txtWinampDir(new QLineEdit(QString::fromUtf8(default_winamp_dir().data()), this)),
      BrowseButton(new QPushButton("Browse", this)),
      chkInc(new QCheckBox("Add song on  +", this)),
      chkDec(new QCheckBox("Add song on  -", this)),
      Label2{new QLabel("Do not play more than once per", this), new QLabel("hours", this)},
      txtHours(new QLineEdit("0", this)),
      settings_(settings) {
  setWindowTitle("Jukora Preferences");
  ApplyButton->setEnabled(false);
  OKButton->setDefault(true);
  Label1->setBuddy(txtWinampDir);
  txtWinampDir->setToolTip("Winamp executable directory");
  txtWinampDir->setMinimumWidth(320);
  BrowseButton->setToolTip("Browse for winamp executable directory");
  chkInc->setToolTip("Add a file to jukora if + is pressed and the file is not already in the songlist");
  chkDec->setToolTip("Add a file to jukora if - is pressed and the file is not already in the songlist");
  for (QWidget* part :
       {static_cast<QWidget*>(Label2[0]), static_cast<QWidget*>(txtHours), static_cast<QWidget*>(Label2[1])})
    part->setToolTip(kHoursTip);
  txtHours->setFixedWidth(txtHours->fontMetrics().horizontalAdvance(QStringLiteral("00000000")));
  txtHours->installEventFilter(this);

  auto* hours = new QHBoxLayout;
  hours->addWidget(Label2[0]);
  hours->addWidget(txtHours);
  hours->addWidget(Label2[1]);
  hours->addStretch();
  auto* grid = new QGridLayout(this);
  grid->addWidget(chkInc, 0, 0);
  grid->addWidget(chkDec, 1, 0);
  grid->addLayout(hours, 2, 0);
  grid->addWidget(OKButton, 0, 1);
  grid->addWidget(CancelButton, 1, 1);
  grid->addWidget(ApplyButton, 2, 1);
  grid->setRowMinimumHeight(3, 12);
  grid->addWidget(Label1, 4, 0, 1, 2);
  grid->addWidget(txtWinampDir, 5, 0);
  grid->addWidget(BrowseButton, 5, 1);
  grid->setSizeConstraint(QLayout::SetFixedSize);

  setTabOrder(OKButton, CancelButton);
  setTabOrder(CancelButton, ApplyButton);
  setTabOrder(ApplyButton, txtWinampDir);
  setTabOrder(txtWinampDir, BrowseButton);
  setTabOrder(BrowseButton, chkInc);
  setTabOrder(chkInc, chkDec);
  setTabOrder(chkDec, txtHours);

  connect(chkInc, &QCheckBox::toggled, this, &Dialog::control_changed);
  connect(chkDec, &QCheckBox::toggled, this, &Dialog::control_changed);
  connect(txtHours, &QLineEdit::textChanged, this, &Dialog::control_changed);
  connect(txtHours, &QLineEdit::textEdited, this, &Dialog::txtHours_Edited);
  connect(txtWinampDir, &QLineEdit::textChanged, this, &Dialog::control_changed);
  connect(OKButton, &QPushButton::clicked, this, &Dialog::OKButton_Click);
  connect(ApplyButton, &QPushButton::clicked, this, &Dialog::ApplyButton_Click);
  connect(CancelButton, &QPushButton::clicked, this, &Dialog::CancelButton_Click);
  connect(BrowseButton, &QPushButton::clicked, this, &Dialog::BrowseButton_Click);
}

void Dialog::show_dialog() {
  ensure_loaded();
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

void Dialog::reject() { CancelButton_Click(); }

void Dialog::Form_Load() {
  dialog_loaded_ = false;
  load_prefs();
  dialog_loaded_ = true;
  ApplyButton->setEnabled(false);
  OKButton->setFocus();
}

void Dialog::load_prefs() {
  chkInc->setChecked(checked_setting(settings_, keys::kAddOnPlus));
  chkDec->setChecked(checked_setting(settings_, keys::kAddOnMinus));
  txtHours->setText(QString::fromStdString(settings_.GetSetting(sections::kPrefs, keys::kTimeBlock, "0")));
  txtWinampDir->setText(QString::fromStdString(read_winamp_dir(settings_)));
}

void Dialog::save_prefs() {
  settings_.SaveSetting(sections::kPrefs, keys::kAddOnPlus, chkInc->isChecked() ? "1" : "0");
  settings_.SaveSetting(sections::kPrefs, keys::kAddOnMinus, chkDec->isChecked() ? "1" : "0");
  settings_.SaveSetting(sections::kPrefs, keys::kTimeBlock, std_text(txtHours->text()));
  settings_.SaveSetting(sections::kPrefs, keys::kWinampDir, std_text(txtWinampDir->text()));
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
