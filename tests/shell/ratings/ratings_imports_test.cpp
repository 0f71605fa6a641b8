// SPDX-License-Identifier: GPL-3.0-or-later
#include "shell/ratings/ratings_imports.h"

#include <QAction>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTest>

#include "shell/ratings/import_ratings_dialog.h"
#include "shell/window/songlist_view.h"
#include "shell/window_fixture.h"

namespace jukora::testing {
namespace {

class RatingsImportsTest : public WindowTest {
 protected:
  RatingsImportsTest() {
    // No player's own file of this machine is offered.
    for (const char* name : kPlaces) {
      if (qEnvironmentVariableIsSet(name)) kept.emplace_back(name, qgetenv(name));
      qputenv(name, dir.path().string().c_str());
    }
    set(sections::kPrefs, keys::kWinampDir, player_dir());
    std::filesystem::create_directories(music);
    for (const char* song : {"a.mp3", "fresh.mp3", "new.mp3"}) write_bytes(join_path(music, song), "x");
    write_songlist({record(music, "a.mp3", 5), record(music, "fresh.mp3", 0)});
    // Rhythmbox rates fresh.mp3 four stars, new.mp3 three, a.mp3 one.
    std::string entries;
    for (auto [song, stars] : {std::pair{"fresh.mp3", 4}, {"new.mp3", 3}, {"a.mp3", 1}})
      entries += "<entry type=\"song\"><location>file://" + join_path(music, song) + "</location><rating>" +
                 std::to_string(stars) + "</rating></entry>";
    write_bytes(rhythmdb, "<?xml version=\"1.0\"?><rhythmdb version=\"2.0\">" + entries + "</rhythmdb>");
    desktop.on_notify = [this](const QString& text, bool) { notices.push_back(text.toStdString()); };
    start();
  }
  ~RatingsImportsTest() override {
    for (const char* name : kPlaces) qunsetenv(name);
    for (const auto& [name, value] : kept) qputenv(name, value);
  }
  // What the caller of an import would print, once it is answered.
  struct Caller {
    CommandReply reply() {
      return {[this](int code, const std::string& out) {
                status = code;
                text = out;
              },
              [this] { return waiting; }};
    }
    bool answered() {
      return QTest::qWaitFor([this] { return status >= 0; }, 10000);
    }
    int status = -1;
    std::string text;
    bool waiting = true;
  };

  static constexpr const char* kPlaces[] = {"XDG_DATA_HOME", "XDG_CONFIG_HOME"};
  std::vector<std::pair<const char*, QByteArray>> kept;
  const std::string rhythmdb = dir.file("rhythmdb.xml");
  std::vector<std::string> notices;
};

TEST_F(RatingsImportsTest, TheMenuItemsDialogAppliesItsPlanToTheListAsItIsWhenImportIsChosen) {
  choose("Import Ratings\u2026");
  ImportRatingsDialog* dialog = app->ratings_imports().dialog();
  ASSERT_TRUE(dialog && dialog->isVisible());
  EXPECT_EQ(dialog->cmbSource->currentText(), "The tags of the songs in the list") << "no player's file here";
  dialog->cmbSource->setCurrentIndex(dialog->cmbSource->count() - 1);  // another file or folder
  dialog->txtPath->setText(QString::fromStdString(rhythmdb));
  dialog->spnScore[8]->setValue(9);
  QTest::mouseClick(dialog->cmdRead, Qt::LeftButton);
  ASSERT_TRUE(QTest::qWaitFor([&] { return dialog->cmdImport->isEnabled(); }, 10000));
  EXPECT_THAT(saved(), Not(HasSubstr("new.mp3")));

  // Scored meanwhile: fresh.mp3 is no longer untouched, and keeps its score.
  app->songlist().SetTextMatrix(2, col::kScore, "1");
  QTest::mouseClick(dialog->cmdImport, Qt::LeftButton);
  EXPECT_FALSE(dialog->isVisible());
  EXPECT_THAT(saved(), HasSubstr("\"new.mp3\",\"6\""));
  EXPECT_THAT(saved(), HasSubstr("\"fresh.mp3\",\"1\""));
  EXPECT_THAT(saved(), HasSubstr("\"a.mp3\",\"5\""));
  EXPECT_EQ(setting(sections::kPrefs, keys::kRatingRule), "0,1,2,3,4,5,6,7,9,9,10");
  EXPECT_THAT(notices, ElementsAre(HasSubstr("Imported 1 rating: 1 added, 0 updated")));
}

TEST_F(RatingsImportsTest, AnotherProcesssImportIsReadAsideAppliedOnceAndAnswered) {
  Caller dry, busy;
  app->session().import_ratings(rhythmdb, true, dry.reply());
  app->session().import_ratings(rhythmdb, false, busy.reply());
  EXPECT_EQ(busy.status, 1) << "one import at a time";
  EXPECT_THAT(busy.text, HasSubstr("another command"));
  ASSERT_TRUE(dry.answered());
  EXPECT_EQ(dry.status, 0);
  EXPECT_THAT(dry.text, HasSubstr("+ " + join_path(music, "new.mp3") + ": new, score 6\n"));
  EXPECT_THAT(dry.text, HasSubstr("Would import 2 ratings: 1 added, 1 updated"));
  EXPECT_THAT(saved(), Not(HasSubstr("new.mp3")));

  // A caller that has gone takes its import back: the next one is taken
  // as soon as that is seen, and nothing was applied.
  Caller gone, done, bad;
  app->session().import_ratings(rhythmdb, false, gone.reply());
  gone.waiting = false;
  ASSERT_TRUE(QTest::qWaitFor(
      [&] {
        done.status = -1;
        app->session().import_ratings(rhythmdb, false, done.reply());
        return done.status == -1;
      },
      5000));
  EXPECT_EQ(gone.status, -1);
  EXPECT_THAT(saved(), Not(HasSubstr("new.mp3")));
  ASSERT_TRUE(done.answered());
  EXPECT_EQ(done.status, 0);
  EXPECT_THAT(done.text, HasSubstr("Imported 2 ratings: 1 added, 1 updated, 1 skipped (1 not chosen)."));
  EXPECT_THAT(saved(), HasSubstr("\"fresh.mp3\",\"8\""));
  EXPECT_EQ(app->window().MSFlexGrid1().model()->rowCount(), 3);
  // The import is one step: one Undo takes back the song added and the score.
  EXPECT_EQ(app->undo_controls().undo_step(), "Import of 2 songs");
  app->session().undo();
  EXPECT_THAT(saved(), AllOf(Not(HasSubstr("new.mp3")), HasSubstr("\"fresh.mp3\",\"0\"")));
  app->session().import_ratings(dir.file("nothing.xml"), false, bad.reply());
  EXPECT_EQ(bad.status, 1);
  EXPECT_THAT(bad.text, HasSubstr("nothing.xml"));
}

TEST_F(RatingsImportsTest, ScoringThePlayingSongIsToldAndSharedScoresReachTheSinks) {
  std::vector<ScoreChange> told;
  app->events().on_scores([&](const std::vector<ScoreChange>& changes) { told = changes; });
  link.song = join_path(music, "a.mp3");
  tray.click(TrayIconId::kIncrement);
  ASSERT_EQ(told.size(), 1u);
  EXPECT_EQ(told[0].file, "a.mp3");
  EXPECT_EQ(told[0].old_score, 5);
  EXPECT_EQ(told[0].new_score, 6);
  EXPECT_EQ(told[0].source, ChangeSource::kTray);

  // The tag mirror says once why a song's tags could not be written.
  set(sections::kPrefs, keys::kShareTags, "True");
  notices.clear();
  app->events().scores_changed({{music, "gone.mp3", 1, 2, ChangeSource::kTray}});
  ASSERT_TRUE(QTest::qWaitFor([&] { return !notices.empty(); }, 10000));
  EXPECT_THAT(notices, ElementsAre(HasSubstr("\"" + join_path(music, "gone.mp3") + "\" was not written")));
}

}  // namespace
}  // namespace jukora::testing
