// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QFileDialog>
#include <QProgressDialog>
#include <QPushButton>
#include <QTimer>

#include "scoring/add_songs.h"
#include "shell/qt_desktop.h"

namespace jukora::testing {
namespace {

#ifdef _WIN32
constexpr const char* kAllFiles = "All Files (*.*)";
#else
constexpr const char* kAllFiles = "All Files (*)";
#endif

TEST(QtFilter, KeepsEveryEntryShowsNamedPatternsOnceAndAllFilesMeansAll) {
  QStringList audio = qt_filter(kAudioFilter).split(";;");
  ASSERT_GE(audio.size(), 8);
  EXPECT_TRUE(
      audio[0].startsWith("All Audio Formats (*.mp3 *.mp2 *.mp1 *.mod *.it *.xm *.s3m *.stm *.669 *.dsm *.far "
                          "*.ult *.mtm *.voc *.wav *.mid *.cda"));
  EXPECT_EQ(audio[5], "Mod Tracker Files (*.mod *.it *.xm *.s3m *.stm *.669)");
  EXPECT_EQ(audio.back(), kAllFiles);
  EXPECT_EQ(qt_filter("Jukora Files (*.jk8)|*.jk8|All Files (*.*)|*.*").split(";;"),
            QStringList({"Jukora Files (*.jk8)", kAllFiles}));
}

TEST(QtFileDialog, SongListDialogButtonNamesTheCommand) {
  QtDesktop desktop;
  FileDialogRequest request;
  request.title = "Save As";
  request.filter = "Jukora Files (*.jk8)|*.jk8";
  QString button;
  QTimer::singleShot(0, [&] {
    if (auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget())) {
      button = dialog->labelText(QFileDialog::Accept);
      dialog->reject();
    }
  });
  EXPECT_FALSE(desktop.choose_file(request));
  EXPECT_EQ(button, "Save As");
}

TEST(QtDesktopProgress, ShowsWhenTheWorkLastsAndItsCancelStopsIt) {
  QWidget window;
  QtDesktop desktop(&window);
  ASSERT_TRUE(desktop.show_progress("Looking for songs: 0 found in 1 folders."));
  auto* progress = window.findChild<QProgressDialog*>();
  ASSERT_NE(progress, nullptr);
  EXPECT_FALSE(progress->isVisible()) << "not for work that ends at once";
  QElapsedTimer waited;
  waited.start();
  while (!progress->isVisible() && waited.elapsed() < 5000) {
    QApplication::processEvents();
    EXPECT_TRUE(desktop.show_progress("Looking for songs: 3 found in 2 folders."));
  }
  ASSERT_TRUE(progress->isVisible());
  EXPECT_EQ(progress->labelText(), "Looking for songs: 3 found in 2 folders.");
  EXPECT_EQ(progress->windowTitle(), "Jukora");
  EXPECT_FALSE(progress->isModal()) << "the window and the tray keep working";
  auto* cancel = progress->findChild<QPushButton*>();
  ASSERT_NE(cancel, nullptr);
  EXPECT_EQ(cancel->text(), "Cancel");
  cancel->click();
  EXPECT_FALSE(desktop.show_progress("Looking for songs: 4 found in 2 folders."));
  desktop.end_progress();
  EXPECT_EQ(window.findChild<QProgressDialog*>(), nullptr);
}

}  // namespace
}  // namespace jukora::testing
