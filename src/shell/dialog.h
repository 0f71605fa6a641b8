// The Preferences dialog ("Jukora Preferences"): the player's folder, the
// replay limit in hours and the two auto-add switches. Modeless; it is
// either closed, filled but hidden (the folder chooser read or wrote its
// folder box), or shown.
#pragma once

#include <QDialog>

class QCheckBox;
class QLabel;
class QLineEdit;
class QKeyEvent;
class QPushButton;

namespace jukora {

class SettingsStore;

class Dialog : public QDialog {
  Q_OBJECT

 public:
  Dialog(SettingsStore& settings, QWidget* parent = nullptr);

  // Shows the dialog, filling it from the settings first when it is closed;
  // a filled dialog keeps its pending edits and its Apply state.
  void show_dialog();
  // Fills the dialog without showing it, unless it is filled already.
  void ensure_loaded();
  // Closes it without saving.
  void close_dialog();
  bool dialog_loaded() const { return dialog_loaded_; }

  // The folder box, as the folder chooser reads and writes it.
  QString winamp_dir_text();
  void set_winamp_dir_text(const QString& text);

  QPushButton* const OKButton;
  QPushButton* const CancelButton;
  QPushButton* const ApplyButton;
  QLabel* const Label1;
  QLineEdit* const txtWinampDir;
  QPushButton* const BrowseButton;
  QCheckBox* const chkInc;
  QCheckBox* const chkDec;
  QLabel* const Label2[2];
  QLineEdit* const txtHours;

 signals:
  // Browse was pressed on a filled dialog.
  void browse_requested();
  void closed();

 public slots:
  // Escape and the close box.
  void reject() override;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void Form_Load();
  void load_prefs();
  void save_prefs();
  // Every user change (and the chooser's) enables Apply; filling does not.
  void control_changed();
  static bool txtHours_KeyPress(const QKeyEvent& key);
  void txtHours_Edited(const QString& text);
  void OKButton_Click();
  void ApplyButton_Click();
  void CancelButton_Click();
  void BrowseButton_Click();

  SettingsStore& settings_;
  bool dialog_loaded_ = false;
};

}  // namespace jukora
