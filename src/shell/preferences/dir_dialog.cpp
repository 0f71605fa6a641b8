// SPDX-License-Identifier: GPL-3.0-or-later
#include "shell/preferences/dir_dialog.h"

#include <QAbstractFileIconProvider>
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QFileSystemModel>
#include <QFont>
#include <QGridLayout>
#include <QHeaderView>
#include <QIdentityProxyModel>
#include <QPushButton>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QStorageInfo>
#include <QStyle>
#include <QTreeView>
#include <algorithm>

#include "platform/app_folders.h"
#include "player/player_link.h"
#include "shell/preferences/dialog.h"
#include "shell/local_text.h"

namespace jukora {

// Shows the opened folder in bold, so it stands apart from a merely
// highlighted one.
class OpenFolderModel : public QIdentityProxyModel {
 public:
  using QIdentityProxyModel::QIdentityProxyModel;

  void set_open_folder(const QString& folder) { open_folder_ = folder; }

  QVariant data(const QModelIndex& index, int role) const override {
    if (role == Qt::FontRole && index.isValid()) {
      auto* files = static_cast<QFileSystemModel*>(sourceModel());
      if (QDir::toNativeSeparators(files->filePath(mapToSource(index))) == open_folder_) {
        QFont bold;
        bold.setBold(true);
        return bold;
      }
    }
    return QIdentityProxyModel::data(index, role);
  }

 private:
  QString open_folder_;
};

// Every entry of the tree is a folder; looking each one up in the icon
// theme costs more than listing a large folder.
class FolderIcons : public QAbstractFileIconProvider {
 public:
  FolderIcons() : folder_(QApplication::style()->standardIcon(QStyle::SP_DirIcon)) {}
  QIcon icon(IconType) const override { return folder_; }
  QIcon icon(const QFileInfo&) const override { return folder_; }

 private:
  QIcon folder_;
};

namespace {

QString clean_folder(const QString& folder) {
  return QDir::toNativeSeparators(QDir::cleanPath(QFileInfo(folder).absoluteFilePath()));
}

// The top of the tree a folder lies in: "/" here, its drive on Windows.
QString top_of(const QString& folder) {
  QDir dir(folder);
  while (dir.cdUp()) {
  }
  return dir.absolutePath();
}

}  // namespace

DirDialog::DirDialog(Dialog& preferences, const AppFolders& folders, QWidget* parent)
    : QDialog(parent, Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowMinMaxButtonsHint |
                          Qt::WindowCloseButtonHint),
      Dir1(new QTreeView(this)),
      Drive1(new QComboBox(this)),
      cmdOK(new QPushButton("OK", this)),
      Command1(new QPushButton("Cancel", this)),
      preferences_(preferences),
      folders_(folders),
      icons_(std::make_unique<FolderIcons>()),
      dirs_(new QFileSystemModel(this)),
      shown_(new OpenFolderModel(this)) {
  setWindowTitle(qt_text(preferences_.player_texts().chooser_caption));
  dirs_->setIconProvider(icons_.get());
  dirs_->setFilter(QDir::AllDirs | QDir::NoDotAndDotDot | QDir::Drives);
  dirs_->setReadOnly(true);
  shown_->setSourceModel(dirs_);
  Dir1->setModel(shown_);
  Dir1->setHeaderHidden(true);
  for (int column = 1; column < dirs_->columnCount(); ++column) Dir1->hideColumn(column);
  Dir1->setExpandsOnDoubleClick(false);
  Dir1->setSortingEnabled(true);
  Dir1->sortByColumn(0, Qt::AscendingOrder);

  auto* grid = new QGridLayout(this);
  grid->addWidget(Dir1, 0, 0, 3, 1);
  grid->addWidget(Drive1, 3, 0);
  grid->addWidget(cmdOK, 0, 1);
  grid->addWidget(Command1, 1, 1);
  grid->setRowStretch(2, 1);
  grid->setColumnStretch(0, 1);
  resize(420, 340);

  setTabOrder(Dir1, Drive1);
  setTabOrder(Drive1, cmdOK);
  setTabOrder(cmdOK, Command1);

  fill_drives();
  connect(Dir1, &QTreeView::doubleClicked, this,
          [this](const QModelIndex& index) { open_folder(dirs_->filePath(shown_->mapToSource(index))); });
  // The tree is read and sorted in the background: the open folder is kept
  // in view as its parents arrive, until the user takes the tree in hand.
  connect(dirs_, &QFileSystemModel::directoryLoaded, this, [this] {
    if (following_) reveal_open_folder();
  });
  connect(shown_, &QAbstractItemModel::layoutChanged, this, [this] {
    if (following_) reveal_open_folder();
  });
  Dir1->installEventFilter(this);
  Dir1->viewport()->installEventFilter(this);
  connect(Dir1->verticalScrollBar(), &QScrollBar::sliderPressed, this, [this] { following_ = false; });
  connect(Drive1, &QComboBox::currentIndexChanged, this, &DirDialog::Drive1_Change);
  connect(cmdOK, &QPushButton::clicked, this, &DirDialog::cmdOK_Click);
  connect(Command1, &QPushButton::clicked, this, &DirDialog::Command1_Click);
}

DirDialog::~DirDialog() {
  // The model's reader thread asks the icon provider, so the model goes
  // before the provider does.
  delete dirs_;
}

void DirDialog::fill_drives() {
  QList<QStorageInfo> volumes = QStorageInfo::mountedVolumes();
  std::sort(volumes.begin(), volumes.end(),
            [](const QStorageInfo& a, const QStorageInfo& b) { return a.rootPath() < b.rootPath(); });
  for (const QStorageInfo& volume : volumes) {
    if (!volume.isValid() || !volume.isReady()) continue;
    QString root = QDir::toNativeSeparators(volume.rootPath());
    QString label = volume.name().isEmpty() ? root : root + " [" + volume.name() + "]";
    Drive1->addItem(label, root);
  }
  if (Drive1->findData(QDir::toNativeSeparators(QDir::rootPath())) < 0)
    Drive1->insertItem(0, QDir::toNativeSeparators(QDir::rootPath()), QDir::toNativeSeparators(QDir::rootPath()));
  // The drive list starts at the current drive, whatever the tree shows.
  const QString current = QDir::toNativeSeparators(QStorageInfo(QDir::currentPath()).rootPath());
  drive_ = std::max(0, Drive1->findData(current));
  Drive1->setCurrentIndex(drive_);
}

void DirDialog::show_chooser() {
  if (!open_) {
    Form_Load();
    return;
  }
  show();
  raise();
  activateWindow();
}

void DirDialog::close_chooser() {
  open_ = false;
  if (isVisible()) QDialog::reject();
}

void DirDialog::reject() { Command1_Click(); }

void DirDialog::open_folder(const QString& folder) {
  path_ = clean_folder(folder);
  const QString root = top_of(path_);
  dirs_->setRootPath(root);
  Dir1->setRootIndex(shown_->mapFromSource(dirs_->index(root)));
  shown_->set_open_folder(path_);
  Dir1->collapseAll();
  following_ = true;
  Dir1->setCurrentIndex(reveal_open_folder());
  Dir1->viewport()->update();
}

QModelIndex DirDialog::reveal_open_folder() {
  const QModelIndex opened = shown_->mapFromSource(dirs_->index(QDir::fromNativeSeparators(path_)));
  for (QModelIndex up = opened; up.isValid(); up = up.parent()) Dir1->expand(up);
  Dir1->scrollTo(opened, QAbstractItemView::PositionAtCenter);
  return opened;
}

bool DirDialog::eventFilter(QObject* watched, QEvent* event) {
  const QEvent::Type type = event->type();
  if (type == QEvent::MouseButtonPress || type == QEvent::Wheel || type == QEvent::KeyPress) following_ = false;
  return QDialog::eventFilter(watched, event);
}

void DirDialog::Form_Load() {
  setWindowTitle(qt_text(preferences_.player_texts().chooser_caption));
  const QString text = preferences_.winamp_dir_text();
  open_folder(!text.isEmpty() && QFileInfo(text).isDir() ? text : qt_text(folders_.data));
  open_ = true;
  show();
  raise();
  activateWindow();
}

void DirDialog::Drive1_Change(int index) {
  const QString root = Drive1->itemData(index).toString();
  // A drive that cannot be read (an empty card reader) leaves the tree where
  // it was and the list at the drive before.
  if (!QFileInfo(root).isReadable() || !QDir(root).exists()) {
    const QSignalBlocker quiet(Drive1);
    Drive1->setCurrentIndex(drive_);
    return;
  }
  drive_ = index;
  open_folder(root);
}

void DirDialog::cmdOK_Click() {
  preferences_.set_winamp_dir_text(path_);
  close_chooser();
}

void DirDialog::Command1_Click() { close_chooser(); }

}  // namespace jukora
