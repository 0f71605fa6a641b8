// SPDX-License-Identifier: GPL-3.0-or-later
#include "shell/preferences/dialog.h"

#include <gtest/gtest.h>

#include <QAbstractProxyModel>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QDir>
#include <QFileSystemModel>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QTreeView>
#include <filesystem>

#include "player/mpris/mpris_rules.h"
#include "shell/preferences/dir_dialog.h"
#include "shell/preferences/mpd_page.h"
#include "shell/preferences/mpris_page.h"
#include "shell/preferences/share_scores_box.h"
#include "shell/window_fixture.h"

namespace jukora::testing {
namespace {

constexpr std::string_view kPrefs = sections::kPrefs;

class DialogTest : public WindowTest {
 protected:
  DialogTest() { set(kPrefs, keys::kWinampDir, player_dir()); }

  Dialog& preferences() { return app->preferences(); }
  DirDialog& chooser() { return app->dir_dialog(); }
  std::string folder(const std::string& name) {
    std::filesystem::create_directories(dir.path() / name);
    return QDir::toNativeSeparators(QString::fromStdString(dir.file(name))).toStdString();
  }
  static QString q(const std::string& text) { return QString::fromStdString(text); }
  std::string box_dir() { return preferences().txtWinampDir->text().toStdString(); }

  // The tree's row for `path`; the file system model makes it on request.
  QModelIndex row_of(const std::string& path) {
    auto& shown = dynamic_cast<QAbstractProxyModel&>(*chooser().Dir1->model());
    return shown.mapFromSource(dynamic_cast<QFileSystemModel&>(*shown.sourceModel()).index(q(path)));
  }
};

TEST_F(DialogTest, FirstOpeningShowsTheDefaultsAndSavesNothing) {
  MemorySettingsStore empty;
  const std::unique_ptr<App> other = program(empty);
  Dialog& dialog = other->preferences();
  dialog.show_dialog();
  EXPECT_TRUE(dialog.isVisible());
  EXPECT_FALSE(dialog.chkInc->isChecked() || dialog.chkDec->isChecked() || dialog.ApplyButton->isEnabled());
  EXPECT_TRUE(dialog.chkNotify->isChecked());
  EXPECT_FALSE(dialog.share_scores->chkShareMpd->isChecked() || dialog.share_scores->chkShareTags->isChecked());
  EXPECT_EQ(dialog.txtHours->text(), "0");
  EXPECT_EQ(dialog.txtWinampDir->text().toStdString(), default_winamp_dir());
  // The player here is Winamp, named word for word.
  EXPECT_EQ(dialog.Label1->text(), "Winamp Directory");
  EXPECT_EQ(dialog.txtWinampDir->toolTip(), "Winamp executable directory");
  EXPECT_EQ(dialog.BrowseButton->toolTip(), "Browse for winamp executable directory");

  std::vector<QWidget*> tab_order = {dialog.OKButton,
                                     dialog.CancelButton,
                                     dialog.ApplyButton,
                                     dialog.txtWinampDir,
                                     dialog.BrowseButton,
                                     dialog.chkInc,
                                     dialog.chkDec,
                                     dialog.txtHours,
                                     dialog.chkNotify,
                                     dialog.share_scores->chkShareMpd,
                                     dialog.share_scores->chkShareTags};
#ifndef _WIN32
  EXPECT_EQ(dialog.cboPlayer->currentText(), "mpv (built in)");
  tab_order.insert(tab_order.begin() + 3, dialog.cboPlayer);
  tab_order.insert(tab_order.begin() + 6,
                   {dialog.mpris_page->cboMprisPlayer, dialog.mpris_page->RefreshButton, dialog.mpris_page->txtCommand,
                    dialog.mpd_page->txtHost, dialog.mpd_page->txtPort, dialog.mpd_page->txtPassword,
                    dialog.mpd_page->txtMusicFolder});
#endif
  for (std::size_t i = 0; i + 1 < tab_order.size(); ++i) {
    QWidget* next = tab_order[i];
    do next = next->nextInFocusChain();
    while (!(next->focusPolicy() & Qt::TabFocus));
    EXPECT_EQ(next, tab_order[i + 1]) << i;
  }
  EXPECT_TRUE(empty.values().empty());
}

TEST_F(DialogTest, ApplyOkCancelAndTheHoursFilter) {
  start();
  Dialog& dialog = preferences();
  // Showing a filled dialog again keeps its edits; Cancel drops them.
  dialog.show_dialog();
  dialog.txtHours->setText("5");
  dialog.hide();
  dialog.show_dialog();
  EXPECT_EQ(dialog.txtHours->text(), "5");
  EXPECT_TRUE(dialog.ApplyButton->isEnabled());
  dialog.CancelButton->click();
  EXPECT_FALSE(dialog.isVisible());
  EXPECT_EQ(setting(kPrefs, keys::kTimeBlock), "<absent>");

  dialog.show_dialog();
  EXPECT_EQ(dialog.txtHours->text(), "0");
  dialog.chkInc->click();
  dialog.ApplyButton->click();
  EXPECT_EQ(setting(kPrefs, keys::kAddOnPlus), "1");
  EXPECT_EQ(setting(kPrefs, keys::kTimeBlock), "0");
  EXPECT_FALSE(dialog.ApplyButton->isEnabled());

  const std::string other = folder("other");
  dialog.txtHours->setText("12");
  dialog.txtWinampDir->setText(q(other));
  dialog.chkDec->click();
  dialog.chkDec->click();
  dialog.OKButton->click();
  EXPECT_FALSE(dialog.isVisible());
  EXPECT_EQ(setting(kPrefs, keys::kTimeBlock), "12");
  EXPECT_EQ(setting(kPrefs, keys::kWinampDir), other);
  EXPECT_EQ(setting(kPrefs, keys::kAddOnMinus), "0");
  EXPECT_EQ(setting(kPrefs, keys::kNotifications), "True");
  EXPECT_EQ(setting(kPrefs, keys::kShareTags), "False");
  dialog.show_dialog();
  dialog.chkNotify->click();
  dialog.share_scores->chkShareTags->click();
  dialog.ApplyButton->click();
  EXPECT_EQ(setting(kPrefs, keys::kNotifications), "False");
  EXPECT_EQ(setting(kPrefs, keys::kShareTags), "True");
  EXPECT_EQ(setting(kPrefs, keys::kShareMpd), "False");
  EXPECT_TRUE(dialog.chkInc->isChecked());
  EXPECT_EQ(dialog.txtHours->text(), "12");
  EXPECT_EQ(box_dir(), other);
  EXPECT_FALSE(dialog.ApplyButton->isEnabled());

  // OK saves all four even without a change; the close box is Cancel.
  set(kPrefs, keys::kTimeBlock, "99");
  dialog.OKButton->click();
  EXPECT_EQ(setting(kPrefs, keys::kTimeBlock), "12");
  dialog.show_dialog();
  dialog.txtHours->setText("7");
  dialog.close();
  EXPECT_FALSE(dialog.isVisible());
  EXPECT_EQ(setting(kPrefs, keys::kTimeBlock), "12");

  // The hours box takes digits only.
  dialog.show_dialog();
  QLineEdit& hours = *dialog.txtHours;
  hours.clear();
  QTest::keyClicks(&hours, "1x2");
  QTest::keyClick(&hours, Qt::Key_Backspace);
  QTest::keyClicks(&hours, " -.+");
  EXPECT_EQ(hours.text(), "12");
  QTest::keyClick(&hours, Qt::Key_Home);
  QTest::keyClick(&hours, Qt::Key_Delete);
  EXPECT_EQ(hours.text(), "2");
  // Pasted text keeps only its digits, wherever it goes in.
  QGuiApplication::clipboard()->setText("3 h, 4!");
  hours.paste();
  EXPECT_EQ(hours.text(), "342");
  hours.paste();
  QTest::keyClicks(&hours, "5");
  EXPECT_EQ(hours.text(), "343452");
  // The note under the box follows what is typed, before it is saved.
  hours.setText("99999999999");
  EXPECT_EQ(dialog.lblHoursNote->text(), "Played now, a song may not play again for years.");
  // An empty box is stored as it is; its reader takes it as 0, and so does the note.
  hours.setText("");
  EXPECT_TRUE(dialog.lblHoursNote->text().startsWith("Played now, a song may play again from "))
      << dialog.lblHoursNote->text().toStdString();
  preferences().ApplyButton->click();
  EXPECT_EQ(setting(kPrefs, keys::kTimeBlock), "");
}

TEST_F(DialogTest, BrowseOpensTheChooserWhereTheBoxPoints) {
  start();
  preferences().show_dialog();
  const std::string music = folder("music");
  preferences().txtWinampDir->setText(q(music));
  preferences().ApplyButton->click();
  preferences().BrowseButton->click();
  EXPECT_TRUE(chooser().isVisible());
  EXPECT_EQ(chooser().path().toStdString(), music);
  // The drive list moves the tree to that drive.
  QComboBox& drives = *chooser().Drive1;
  const QString root_path = QDir::toNativeSeparators(QDir::rootPath());
  const int root = drives.findData(root_path);
  ASSERT_GE(root, 0);
  drives.setCurrentIndex(root == 0 && drives.count() > 1 ? 1 : root);
  drives.setCurrentIndex(root);
  EXPECT_EQ(chooser().path(), root_path);
  chooser().Command1->click();
  EXPECT_FALSE(chooser().isVisible());

  // A folder that does not exist: the chooser starts at the data folder.
  preferences().txtWinampDir->setText(q(dir.file("missing")));
  preferences().BrowseButton->click();
  EXPECT_EQ(chooser().path(), QDir::toNativeSeparators(QDir::cleanPath(q(folders.data))));

  const std::string player = folder("tree/player"), other = folder("tree/other");
  chooser().open_folder(q(folder("tree")));
  QModelIndex player_row = row_of(player), other_row = row_of(other);
  ASSERT_TRUE(player_row.isValid() && other_row.isValid());
  // The tree is still being filled in the background, so rows may move
  // under a simulated mouse; the double-click is signalled directly.
  emit chooser().Dir1->doubleClicked(player_row);
  EXPECT_EQ(chooser().path().toStdString(), player);
  // Highlighting another folder is not opening it.
  chooser().Dir1->setCurrentIndex(other_row);
  chooser().cmdOK->click();
  EXPECT_FALSE(chooser().isVisible());
  EXPECT_EQ(box_dir(), player);
  EXPECT_TRUE(preferences().ApplyButton->isEnabled());
  EXPECT_EQ(setting(kPrefs, keys::kWinampDir), music);

  // The chooser closes with the preferences.
  preferences().BrowseButton->click();
  ASSERT_TRUE(chooser().isVisible());
  EXPECT_EQ(chooser().windowTitle(), "Select Winamp Dir");
  preferences().CancelButton->click();
  EXPECT_FALSE(chooser().isVisible() || chooser().is_open());
}

TEST_F(DialogTest, TheStartUpChooserFillsTheHiddenPreferencesUntilTheWindowCloses) {
  const std::string missing = dir.file("no player here");
  set(kPrefs, keys::kWinampDir, missing);
  write_songlist({R"("/m","a","1","00:00 1/1/71")"});
  start();
  EXPECT_TRUE(chooser().isVisible());
  EXPECT_TRUE(preferences().dialog_loaded());
  EXPECT_FALSE(preferences().isVisible());
  EXPECT_EQ(app->songlist().Rows(), 2);  // start-up went on

  const std::string picked = folder("picked");
  chooser().open_folder(q(picked));
  chooser().cmdOK->click();
  EXPECT_EQ(setting(kPrefs, keys::kWinampDir), missing);
  desktop.show_preferences();
  EXPECT_TRUE(preferences().isVisible());
  EXPECT_EQ(box_dir(), picked);
  EXPECT_TRUE(preferences().ApplyButton->isEnabled());

  form->close();
  EXPECT_FALSE(preferences().dialog_loaded());
  preferences().show_dialog();
  EXPECT_EQ(box_dir(), missing);
}

#ifndef _WIN32
// The players a session bus would list, answered on a later turn.
class FakeDirectory : public MprisDirectory {
 public:
  std::string unavailable() const override { return why; }
  void list_players(std::function<void(std::vector<MprisPlayer>)> done) override {
    QTimer::singleShot(0, [done = std::move(done), found = running] { done(found); });
  }
  std::string why;
  std::vector<MprisPlayer> running = {{"audacious", "Audacious", "audacious"}, {"vlc", "VLC media player", "vlc"}};
};

TEST_F(DialogTest, APlayerChosenFromThoseRunningIsStoredWithItsCommandAndTheDialogFitsThePageShown) {
  FakeDirectory directory;
  start();
  Dialog& dialog = preferences();
  MprisPage& page = *dialog.mpris_page;
  dialog.set_mpris_directory(&directory);
  dialog.show_dialog();
  QTest::qWait(20);
  EXPECT_EQ(dialog.player_pages->currentIndex(), 0) << "the player's folder, for mpv";
  EXPECT_FALSE(dialog.ApplyButton->isEnabled()) << "filling in the players is no edit";

  dialog.cboPlayer->setFocus();
  QTest::keyClick(dialog.cboPlayer, Qt::Key_Down);
  EXPECT_EQ(dialog.player_pages->currentWidget(), &page);
  ASSERT_EQ(page.cboMprisPlayer->count(), 2);
  EXPECT_EQ(page.cboMprisPlayer->currentIndex(), -1);
  page.cboMprisPlayer->setFocus();
  QTest::keyClick(page.cboMprisPlayer, Qt::Key_Down);
  EXPECT_EQ(page.cboMprisPlayer->currentText(), "Audacious");
  EXPECT_EQ(page.txtCommand->text(), "audacious");
  dialog.ApplyButton->click();
  EXPECT_EQ(setting(sections::kPlayer, keys::kPlayerKind), "mpris");
  EXPECT_EQ(setting(sections::kPlayer, keys::kMprisBusName), "audacious");
  EXPECT_EQ(setting(sections::kPlayer, keys::kMprisIdentity), "Audacious");
  EXPECT_EQ(setting(sections::kPlayer, keys::kMprisCommand), "audacious");

  // Once it has quit it stays chosen; a command typed by the user is kept.
  directory.running.clear();
  dialog.CancelButton->click();
  dialog.show_dialog();
  QTest::qWait(20);
  EXPECT_EQ(dialog.cboPlayer->currentText(), "Desktop player (MPRIS)");
  EXPECT_EQ(page.cboMprisPlayer->currentText(), "Audacious (not running)");
  page.txtCommand->clear();
  QTest::keyClicks(page.txtCommand, "audacious --headless");
  dialog.OKButton->click();
  EXPECT_EQ(setting(sections::kPlayer, keys::kMprisCommand), "audacious --headless");
  EXPECT_EQ(setting(sections::kPlayer, keys::kMprisBusName), "audacious");

  // Without a session bus the page says so, and mpv is still there.
  directory.why = "There is no D-Bus session bus here";
  dialog.show_dialog();
  EXPECT_EQ(page.lblNote->text().toStdString(), directory.why);
  EXPECT_FALSE(page.cboMprisPlayer->isEnabled());
  dialog.cboPlayer->setFocus();
  QTest::keyClick(dialog.cboPlayer, Qt::Key_Up);
  dialog.OKButton->click();
  EXPECT_EQ(setting(sections::kPlayer, keys::kPlayerKind), "mpv");

  // The dialog fits the page shown, not the tallest page (blank space under a short one).
  dialog.show_dialog();
  for (int kind : {2, 1, 0}) {
    dialog.cboPlayer->setCurrentIndex(kind);
    QTest::qWait(20);
    const QWidget& shown = *dialog.player_pages->currentWidget();
    const int wanted = shown.hasHeightForWidth() ? shown.heightForWidth(shown.width()) : shown.sizeHint().height();
    EXPECT_EQ(shown.height(), wanted) << "page " << kind;
    EXPECT_EQ(dialog.player_pages->height(), shown.height()) << "page " << kind;
  }
}
#endif

}  // namespace
}  // namespace jukora::testing
