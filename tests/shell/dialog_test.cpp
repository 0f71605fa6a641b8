#include "shell/dialog.h"

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFileSystemModel>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTreeView>
#include <chrono>
#include <filesystem>

#include "shell/dir_dialog.h"
#include "window_fixture.h"

namespace jukora::testing {
namespace {

constexpr std::string_view kPrefs = sections::kPrefs;

class DialogTest : public WindowTest {
 protected:
  DialogTest() { set(kPrefs, keys::kWinampDir, player_dir()); }

  Dialog& preferences() { return form->preferences(); }
  DirDialog& chooser() { return form->dir_dialog(); }
  std::string folder(const std::string& name) {
    std::filesystem::create_directories(dir.path() / name);
    return QDir::toNativeSeparators(QString::fromStdString(dir.file(name))).toStdString();
  }
  static QString q(const std::string& text) { return QString::fromStdString(text); }

  // The tree's row for `path`, once the file system model has listed it
  // (it reads folders in the background).
  QModelIndex child_named(const QString& path) {
    QTreeView& tree = *chooser().Dir1;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (std::chrono::steady_clock::now() < deadline) {
      QModelIndex found = find_row(tree, tree.rootIndex(), QDir::fromNativeSeparators(path));
      if (found.isValid()) return found;
      QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    }
    return {};
  }
  static QModelIndex find_row(QTreeView& tree, const QModelIndex& parent, const QString& path) {
    const QAbstractItemModel& model = *tree.model();
    for (int row = 0; row < model.rowCount(parent); ++row) {
      QModelIndex index = model.index(row, 0, parent);
      QString here = QDir::cleanPath(index.data(QFileSystemModel::FilePathRole).toString());
      if (here == path) return index;
      if (path.startsWith(here + "/") || (here == "/" && path.startsWith(here))) {
        tree.expand(index);
        return find_row(tree, index, path);
      }
    }
    return {};
  }
};

TEST_F(DialogTest, FirstOpeningShowsTheDefaults) {
  MemorySettingsStore empty;
  RecordingQtDesktop quiet;
  Form1 window(empty, link, quiet, folders);
  Dialog& dialog = window.preferences();
  dialog.show_dialog();
  EXPECT_TRUE(dialog.isVisible());
  EXPECT_EQ(dialog.windowTitle(), "Jukora Preferences");
  EXPECT_FALSE(dialog.chkInc->isChecked());
  EXPECT_FALSE(dialog.chkDec->isChecked());
  EXPECT_EQ(dialog.txtHours->text(), "0");
  EXPECT_EQ(dialog.txtWinampDir->text().toStdString(), default_winamp_dir());
  EXPECT_FALSE(dialog.ApplyButton->isEnabled());
  EXPECT_EQ(dialog.chkInc->text(), "Add song on  +");
  EXPECT_EQ(dialog.chkDec->text(), "Add song on  -");
  EXPECT_EQ(dialog.Label1->text(), "Winamp Directory");
  EXPECT_EQ(dialog.Label2[0]->text(), "Do not play more than once per");
  EXPECT_EQ(dialog.Label2[1]->text(), "hours");
  EXPECT_EQ(dialog.txtHours->toolTip(), "Limit replay to number of hours provided");
  EXPECT_EQ(dialog.BrowseButton->toolTip(), "Browse for winamp executable directory");

  const std::vector<QWidget*> tab_order = {dialog.OKButton,     dialog.CancelButton, dialog.ApplyButton,
                                           dialog.txtWinampDir, dialog.BrowseButton, dialog.chkInc,
                                           dialog.chkDec,       dialog.txtHours};
  auto next_tab_stop = [](QWidget* widget) {
    do widget = widget->nextInFocusChain();
    while (!(widget->focusPolicy() & Qt::TabFocus));
    return widget;
  };
  for (std::size_t i = 0; i + 1 < tab_order.size(); ++i) EXPECT_EQ(next_tab_stop(tab_order[i]), tab_order[i + 1]) << i;
  EXPECT_TRUE(empty.values().empty());
}

TEST_F(DialogTest, ApplyOkAndCancel) {
  start();
  preferences().show_dialog();
  preferences().chkInc->click();
  EXPECT_TRUE(preferences().ApplyButton->isEnabled());
  preferences().ApplyButton->click();
  EXPECT_EQ(setting(kPrefs, keys::kAddOnPlus), "1");
  EXPECT_FALSE(preferences().ApplyButton->isEnabled());

  preferences().txtHours->setText("12");
  preferences().CancelButton->click();
  EXPECT_FALSE(preferences().isVisible());
  EXPECT_EQ(setting(kPrefs, keys::kAddOnPlus), "1");
  EXPECT_EQ(setting(kPrefs, keys::kTimeBlock), "0");

  const std::string other = folder("other");
  preferences().show_dialog();
  EXPECT_EQ(preferences().txtHours->text(), "0");  // the cancelled edit is gone
  preferences().txtHours->setText("12");
  preferences().txtWinampDir->setText(q(other));
  preferences().chkDec->click();
  preferences().chkDec->click();
  preferences().OKButton->click();
  EXPECT_FALSE(preferences().isVisible());
  EXPECT_EQ(setting(kPrefs, keys::kTimeBlock), "12");
  EXPECT_EQ(setting(kPrefs, keys::kWinampDir), other);
  EXPECT_EQ(setting(kPrefs, keys::kAddOnMinus), "0");

  preferences().show_dialog();
  EXPECT_TRUE(preferences().chkInc->isChecked());
  EXPECT_EQ(preferences().txtHours->text(), "12");
  EXPECT_EQ(preferences().txtWinampDir->text().toStdString(), other);
  EXPECT_FALSE(preferences().ApplyButton->isEnabled());

  // OK saves all four even without a change; the close box is Cancel.
  set(kPrefs, keys::kTimeBlock, "99");
  preferences().OKButton->click();
  EXPECT_EQ(setting(kPrefs, keys::kTimeBlock), "12");
  preferences().show_dialog();
  preferences().txtHours->setText("7");
  preferences().close();
  EXPECT_FALSE(preferences().isVisible());
  EXPECT_EQ(setting(kPrefs, keys::kTimeBlock), "12");
}

TEST_F(DialogTest, ShowingAFilledDialogKeepsItsEdits) {
  start();
  preferences().show_dialog();
  preferences().txtHours->setText("5");
  preferences().hide();
  preferences().show_dialog();
  EXPECT_EQ(preferences().txtHours->text(), "5");
  EXPECT_TRUE(preferences().ApplyButton->isEnabled());
}

TEST_F(DialogTest, TheHoursBoxTakesDigitsOnly) {
  start();
  preferences().show_dialog();
  QLineEdit& hours = *preferences().txtHours;
  hours.clear();
  QTest::keyClicks(&hours, "1x2");
  EXPECT_EQ(hours.text(), "12");
  QTest::keyClick(&hours, Qt::Key_Backspace);
  EXPECT_EQ(hours.text(), "12");
  QTest::keyClicks(&hours, " -.+");
  EXPECT_EQ(hours.text(), "12");
  QTest::keyClick(&hours, Qt::Key_Home);
  QTest::keyClick(&hours, Qt::Key_Delete);
  EXPECT_EQ(hours.text(), "2");
  // What cannot be typed can still be stored; its reader takes it as 0.
  hours.setText("");
  preferences().ApplyButton->click();
  EXPECT_EQ(setting(kPrefs, keys::kTimeBlock), "");
  EXPECT_EQ(read_time_block(settings), 0);
}

TEST_F(DialogTest, BrowseOpensTheChooserWhereTheBoxPoints) {
  start();
  preferences().show_dialog();
  const std::string music = folder("music");
  preferences().txtWinampDir->setText(q(music));
  preferences().ApplyButton->click();
  preferences().BrowseButton->click();
  EXPECT_TRUE(chooser().isVisible());
  EXPECT_EQ(chooser().windowTitle(), "Select Winamp Dir");
  EXPECT_EQ(chooser().path().toStdString(), music);
  chooser().Command1->click();
  EXPECT_FALSE(chooser().isVisible());

  // A folder that does not exist: the chooser starts at the data folder.
  preferences().txtWinampDir->setText(q(dir.file("missing")));
  preferences().BrowseButton->click();
  EXPECT_EQ(chooser().path(), QDir::toNativeSeparators(QDir::cleanPath(q(folders.data))));

  const std::string player = folder("tree/player");
  folder("tree/other");
  chooser().open_folder(q(folder("tree")));
  QModelIndex player_row = child_named(q(player));
  QModelIndex other_row = child_named(q(folder("tree/other")));
  ASSERT_TRUE(player_row.isValid() && other_row.isValid());
  // The tree is still being filled in the background, so rows may move
  // under a simulated mouse; the double-click is signalled directly.
  emit chooser().Dir1->doubleClicked(player_row);
  EXPECT_EQ(chooser().path().toStdString(), player);
  // Highlighting another folder is not opening it.
  chooser().Dir1->setCurrentIndex(other_row);
  chooser().cmdOK->click();
  EXPECT_FALSE(chooser().isVisible());
  EXPECT_EQ(preferences().txtWinampDir->text().toStdString(), player);
  EXPECT_TRUE(preferences().ApplyButton->isEnabled());
  EXPECT_EQ(setting(kPrefs, keys::kWinampDir), music);
}

TEST_F(DialogTest, TheDriveListMovesTheTreeToThatDrive) {
  start();
  preferences().show_dialog();
  preferences().BrowseButton->click();
  QComboBox& drives = *chooser().Drive1;
  ASSERT_GT(drives.count(), 0);
  const int root = drives.findData(QDir::toNativeSeparators(QDir::rootPath()));
  ASSERT_GE(root, 0);
  drives.setCurrentIndex(root == 0 && drives.count() > 1 ? 1 : root);
  drives.setCurrentIndex(root);
  EXPECT_EQ(chooser().path(), QDir::toNativeSeparators(QDir::rootPath()));
}

TEST_F(DialogTest, TheStartUpChooserFillsTheHiddenPreferences) {
  const std::string missing = dir.file("no player here");
  set(kPrefs, keys::kWinampDir, missing);
  start();
  EXPECT_TRUE(chooser().isVisible());
  EXPECT_TRUE(preferences().dialog_loaded());
  EXPECT_FALSE(preferences().isVisible());

  const std::string picked = folder("picked");
  chooser().open_folder(q(picked));
  chooser().cmdOK->click();
  EXPECT_EQ(setting(kPrefs, keys::kWinampDir), missing);

  form->desktop().show_preferences();
  EXPECT_TRUE(preferences().isVisible());
  EXPECT_EQ(preferences().txtWinampDir->text().toStdString(), picked);
  EXPECT_TRUE(preferences().ApplyButton->isEnabled());
  preferences().ApplyButton->click();
  EXPECT_EQ(setting(kPrefs, keys::kWinampDir), picked);
}

TEST_F(DialogTest, ClosingTheMainWindowDiscardsThePickedFolder) {
  const std::string missing = dir.file("no player here");
  set(kPrefs, keys::kWinampDir, missing);
  start();
  chooser().open_folder(q(folder("picked")));
  chooser().cmdOK->click();
  form->close();
  EXPECT_FALSE(preferences().dialog_loaded());
  preferences().show_dialog();
  EXPECT_EQ(preferences().txtWinampDir->text().toStdString(), missing);
}

TEST_F(DialogTest, TheChooserClosesWithThePreferences) {
  start();
  preferences().show_dialog();
  preferences().BrowseButton->click();
  ASSERT_TRUE(chooser().isVisible());
  preferences().CancelButton->click();
  EXPECT_FALSE(chooser().isVisible());
  EXPECT_FALSE(chooser().is_open());
}

}  // namespace
}  // namespace jukora::testing
