#include <gtest/gtest.h>

#include <QApplication>
#include <QFileDialog>
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

}  // namespace
}  // namespace jukora::testing
