// SPDX-License-Identifier: GPL-3.0-or-later
// The folder chooser ("Select Winamp Dir", or the words for the player in
// use): a drive list and a directory tree whose OK puts the opened
// (double-clicked) folder into the Preferences dialog's folder box.
#pragma once

#include <QDialog>
#include <QModelIndex>
#include <QString>
#include <memory>

class QComboBox;
class QFileSystemModel;
class QPushButton;
class QTreeView;

namespace jukora {

class Dialog;
class FolderIcons;
class OpenFolderModel;
struct AppFolders;

class DirDialog : public QDialog {
  Q_OBJECT

 public:
  DirDialog(Dialog& preferences, const AppFolders& folders, QWidget* parent = nullptr);
  ~DirDialog() override;

  // Opens the chooser at the folder the Preferences dialog holds (or the
  // data folder), or brings it to the front when it is open already.
  void show_chooser();
  void close_chooser();
  bool is_open() const { return open_; }

  // The opened folder: native separators, no trailing one except at a root.
  QString path() const { return path_; }
  // Opens `folder` in the tree, as a double-click does.
  void open_folder(const QString& folder);

  QTreeView* const Dir1;
  QComboBox* const Drive1;
  QPushButton* const cmdOK;
  QPushButton* const Command1;

 public slots:
  void reject() override;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void Form_Load();
  void Drive1_Change(int index);
  void cmdOK_Click();
  void Command1_Click();
  void fill_drives();
  // Expands the tree down to the open folder and scrolls to it.
  QModelIndex reveal_open_folder();

  Dialog& preferences_;
  const AppFolders& folders_;
  const std::unique_ptr<FolderIcons> icons_;
  QFileSystemModel* const dirs_;
  OpenFolderModel* const shown_;
  QString path_;
  bool open_ = false;
  bool following_ = false;
  int drive_ = -1;
};

}  // namespace jukora
