#include <gtest/gtest.h>

#include <QApplication>
#include <QFileDialog>
#include <QTimer>

#include "scoring/add_songs.h"
#include "shell/qt_desktop.h"

namespace jukora::testing {
namespace {

TEST(QtFilter, AddFilesFilterKeepsEveryEntryAndAllFilesMeansAll) {
  QStringList entries = qt_filter(kAudioFilter).split(";;");
  ASSERT_EQ(entries.size(), 8);
  EXPECT_EQ(entries[0],
            "All Audio Formats (*.mp3 *.mp2 *.mp1 *.mod *.it *.xm *.s3m *.stm *.669 *.dsm *.far *.ult *.mtm *.voc "
            "*.wav *.mid *.cda)");
  EXPECT_EQ(entries[5], "Mod Tracker Files (*.mod *.it *.xm *.s3m *.stm *.669)");
#ifdef _WIN32
  EXPECT_EQ(entries[7], "All Files (*.*)");
#else
  EXPECT_EQ(entries[7], "All Files (*)");
#endif
}

TEST(QtFilter, PatternsNamedInTheLabelAreShownOnce) {
  QStringList entries = qt_filter("Jukora Files (*.jk8)|*.jk8|All Files (*.*)|*.*").split(";;");
  ASSERT_EQ(entries.size(), 2);
  EXPECT_EQ(entries[0], "Jukora Files (*.jk8)");
#ifdef _WIN32
  EXPECT_EQ(entries[1], "All Files (*.*)");
#else
  EXPECT_EQ(entries[1], "All Files (*)");
#endif
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

}  // namespace
}  // namespace jukora::testing
