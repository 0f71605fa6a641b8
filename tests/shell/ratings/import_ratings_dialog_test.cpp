// SPDX-License-Identifier: GPL-3.0-or-later
#include "shell/ratings/import_ratings_dialog.h"

#include <gmock/gmock.h>

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTableView>
#include <QTest>
#include <atomic>
#include <thread>

#include "songlist/recompute.h"
#include "songlist/songlist.h"
#include "support/fakes.h"

namespace jukora::testing {
namespace {

using ::testing::HasSubstr;

// A source that holds its read until it is let go (or cancelled).
class HeldSource : public RatingSource {
 public:
  explicit HeldSource(std::vector<SourceSong> songs) : songs_(std::move(songs)) {}
  std::string name() const override { return "Rhythmbox"; }
  SourceRead read(const SourceProgress& progress) override {
    for (std::size_t step = 0; !released; ++step) {
      if (!progress(step % 10, 10)) return {SourceRead::Status::kCancelled, {}, 0, {}};
      std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    if (fail) return {SourceRead::Status::kFailed, {}, 0, "\"x.db\" cannot be read: it is damaged."};
    return {SourceRead::Status::kOk, songs_, 0, {}};
  }
  std::atomic<bool> released{false};
  bool fail = false;

 private:
  std::vector<SourceSong> songs_;
};

// Later than any Last Played of the list.
constexpr std::int64_t kIn2031 = 1950000000;

class ImportRatingsDialogTest : public ::testing::Test {
 protected:
  ImportRatingsDialogTest() {
    write_bytes(temp.file("listed.mp3"), "x");
    write_bytes(temp.file("new.mp3"), "x");
    songlist.add_cells({"", temp.path().string(), "listed.mp3", "3", "", "", "10:00 1/2/20"});
    recompute_songlist(songlist);
  }
  ImportDialogInput input() {
    ImportDialogInput in;
    in.known = {{"Rhythmbox", temp.file("rhythmdb.xml")}};
    in.mpd = "/run/mpd/socket";
    in.open = [this](const SourceChoice& choice) {
      opened.push_back(choice);
      return OpenedSource{source, {}};
    };
    in.plan = [this](const SourceRead& read, const std::string& name, const RatingRule& rule) {
      return plan_import(songlist, read, name, rule, [](const std::string&) { return true; });
    };
    return in;
  }
  // Reads, lets the read end, and waits for the preview.
  void read_all(ImportRatingsDialog& dialog) {
    QTest::mouseClick(dialog.cmdRead, Qt::LeftButton);
    source->released = true;
    EXPECT_TRUE(QTest::qWaitFor([&] { return dialog.cmdRead->isEnabled(); }, 8000));
  }

  TempDir temp;
  Songlist songlist;
  std::shared_ptr<HeldSource> source = std::make_shared<HeldSource>(std::vector<SourceSong>{
      {temp.file("listed.mp3"), ReadRating::rated(8), kIn2031}, {temp.file("new.mp3"), ReadRating::rated(5), {}}});
  std::vector<SourceChoice> opened;
};

TEST_F(ImportRatingsDialogTest, RuleAndChoiceChangeThePreviewBeforeAnythingIsApplied) {
  ImportRatingsDialog dialog(input());
  dialog.show();
  EXPECT_EQ(dialog.cmbSource->count(), 4);
  EXPECT_FALSE(dialog.cmdImport->isEnabled());
  read_all(dialog);
  ASSERT_EQ(opened.size(), 1u);
  EXPECT_EQ(opened[0].kind, SourceKind::kNone);  // the file is not there: the opener says why
  QAbstractItemModel* preview = dialog.tblPreview->model();
  ASSERT_EQ(preview->rowCount(), 2);
  EXPECT_EQ(preview->index(0, 1).data().toString(), "listed");
  EXPECT_EQ(preview->index(0, 2).data().toString(), "3");
  EXPECT_EQ(preview->index(0, 4).data().toString(), "8");
  EXPECT_EQ(preview->index(1, 3).data().toString(), QString::fromUtf8("\u2605\u2605\u00bd"));
  EXPECT_THAT(dialog.lblStatus->text().toStdString(), HasSubstr("Would import 1 rating: 1 added, 0 updated"));
  // The listed song keeps its score, but takes the later play all the same.
  EXPECT_THAT(preview->index(0, 5).data().toString().toStdString(), HasSubstr("/31"));
  EXPECT_THAT(dialog.lblStatus->text().toStdString(),
              HasSubstr("The source's later Last Played would be taken for 1 song not chosen."));

  dialog.spnScore[8]->setValue(9);
  EXPECT_EQ(preview->index(0, 4).data().toString(), "9");
  dialog.optAll->click();
  EXPECT_THAT(dialog.lblStatus->text().toStdString(), HasSubstr("Would import 2 ratings: 1 added, 1 updated"));
  EXPECT_EQ(songlist.TextMatrix(1, col::kScore), "3");

  QTest::mouseClick(dialog.cmdImport, Qt::LeftButton);
  ASSERT_TRUE(dialog.result());
  EXPECT_EQ(dialog.result()->choice, ImportChoice::kAllMatched);
  EXPECT_EQ(dialog.result()->rule.score_of(8), 9);
  EXPECT_EQ(dialog.result()->plan.songs.size(), 2u);
  EXPECT_EQ(dialog.result()->plan.songs[0].score_after, 9);
}

TEST_F(ImportRatingsDialogTest, CancelAndFailureLeaveNothingToApply) {
  ImportRatingsDialog dialog(input());
  dialog.show();
  dialog.cmbSource->setCurrentIndex(3);
  dialog.txtPath->setText(temp.path().string().c_str());
  QTest::mouseClick(dialog.cmdRead, Qt::LeftButton);
  EXPECT_EQ(opened.back().kind, SourceKind::kTags);
  EXPECT_TRUE(dialog.barProgress->isVisible());
  EXPECT_TRUE(QTest::qWaitFor([&] { return dialog.barProgress->maximum() == 1000; }, 8000));
  QTest::mouseClick(dialog.cmdCancel, Qt::LeftButton);
  EXPECT_EQ(dialog.lblStatus->text(), "Cancelled: nothing was changed.");
  EXPECT_FALSE(dialog.cmdImport->isEnabled());

  source = std::make_shared<HeldSource>(std::vector<SourceSong>{});
  source->fail = true;
  read_all(dialog);
  EXPECT_EQ(dialog.lblStatus->text(), "\"x.db\" cannot be read: it is damaged.");
  EXPECT_FALSE(dialog.cmdImport->isEnabled());
  dialog.reject();
  EXPECT_FALSE(dialog.result());
}

}  // namespace
}  // namespace jukora::testing
