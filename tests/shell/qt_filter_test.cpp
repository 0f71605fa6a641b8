#include <gtest/gtest.h>

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

}  // namespace
}  // namespace jukora::testing
