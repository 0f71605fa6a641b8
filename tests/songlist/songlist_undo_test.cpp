// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

#include "scoring/score_changes.h"
#include "songlist/row_deletion.h"
#include "songlist/songlist_change.h"
#include "songlist/songlist_files_fixture.h"
#include "songlist/undo_history.h"

namespace jukora {
namespace {

class UndoTest : public SonglistFilesTest {
 protected:
  void SetUp() override {
    load("list.jk8", jk8({{"a.mp3", "5"}, {"b.mp3", "4"}, {"c.mp3", "4"}, {"d.mp3", "4"}, {"e.mp3", "2"}}));
  }
  void select(int row, int row_sel) {
    songlist.SetRow(row);
    songlist.SetRowSel(row_sel);
  }
  // As the window shows it: an end past the last row is at the last row.
  std::pair<int, int> selection() const {
    const int last = songlist.Rows() - 1;
    return {std::min(songlist.Row(), last), std::min(songlist.RowSel(), last)};
  }
  std::string before_change;
};

TEST_F(UndoTest, EveryKindOfStepIsTakenBackExactlyAndMadeAgain) {
  ImportTarget rated{{"/m", "b.mp3"}, Score(9), LastPlayed::read("14:05 6/12/01")};
  ImportTarget new_song{{"/m", "z.mp3"}, Score(7), std::nullopt, true};
  ImportTarget unlisted{{"/m", "nobody.mp3"}, Score(3), std::nullopt};
  // The step's name, the selection it starts from, and the step.
  const std::tuple<std::string, int, int, std::function<void()>> cases[] = {
      // c and d climb past b; undone, they go back below it, not above.
      {"Increment of 2 songs", 3, 4,
       [&] { step_scores(songlist, files, ScoreDirection::kUp, range_of_selection(songlist)); }},
      {"Delete of 3 songs", 4, 2, [&] { delete_rows(songlist, files, range_of_selection(songlist).rows); }},
      {"Addition of 2 songs", 2, 3,
       [&] {
         files.apply(addition({{"/m", "x.mp3"}, {"/m", "a.mp3"}, {"/m", "y.mp3"}}, {}));
       }},
      {"Import of 2 songs", 2, 3,
       [&] {
         files.apply(import_change({rated, new_song, unlisted}));
       }},
  };
  for (const auto& [label, row, row_sel, change] : cases) {
    SCOPED_TRACE(label);
    SetUp();
    select(row, row_sel);
    const std::string before = saved();
    const auto selection_before = selection();
    change();
    const std::string after = saved();
    const auto selection_after = selection();
    ASSERT_NE(after, before);
    EXPECT_EQ(files.undo_label(), label);
    ASSERT_TRUE(files.undo());
    EXPECT_EQ(saved(), before) << "the undo is saved, every row where it stood";
    EXPECT_EQ(selection(), selection_before);
    EXPECT_FALSE(files.can_undo());
    EXPECT_EQ(files.redo_label(), label);
    ASSERT_TRUE(files.redo());
    EXPECT_EQ(saved(), after);
    EXPECT_EQ(selection(), selection_after);
    EXPECT_FALSE(files.redo());
  }
  EXPECT_TRUE(desktop.notes.empty());
}

TEST_F(UndoTest, UndoSkipsSongsChangedSinceAndSaysSo) {
  select(2, 3);
  step_scores(songlist, files, ScoreDirection::kUp, range_of_selection(songlist));  // b and c to 5
  // The play cycle plays c afterwards.
  files.set_last_played(songlist.find("/m", "c.mp3", 1, songlist.Rows() - 1), LastPlayed::read("14:05 6/12/01"));
  files.write_songlist();
  ASSERT_TRUE(files.undo());
  EXPECT_EQ(saved(), "\"/m\",\"a.mp3\",\"5\",\"00:00 1/1/71\"\r\n\"/m\",\"c.mp3\",\"5\",\"14:05 6/12/01\"\r\n" +
                         jk8({{"b.mp3", "4"}, {"d.mp3", "4"}, {"e.mp3", "2"}}));
  EXPECT_EQ(desktop.notes,
            std::vector<std::string>{"Undo of Increment of 2 songs: 1 song changed since was left as it is."});
  // Redone, only b moves again: c was never taken back.
  ASSERT_TRUE(files.redo());
  EXPECT_EQ(songlist.TextMatrix(2, col::kFile), "b.mp3");
  EXPECT_EQ(songlist.TextMatrix(2, col::kScore), "5");
  EXPECT_EQ(desktop.notes.size(), 2u);
}

TEST_F(UndoTest, TwoHundredStepsAreKeptAndNewOpenAndSaveAsEndThem) {
  const std::string before = saved();
  for (int i = 0; i < 200; ++i) {
    const int e = songlist.find("/m", "e.mp3", 1, songlist.Rows() - 1);
    select(e, e);
    step_scores(songlist, files, ScoreDirection::kUp, range_of_selection(songlist));  // e climbs to the top and on
  }
  EXPECT_EQ(songlist.TextMatrix(1, col::kScore), "202");
  for (int i = 0; i < 200; ++i) ASSERT_TRUE(files.undo()) << i;
  EXPECT_FALSE(files.can_undo());
  EXPECT_EQ(saved(), before);

  write_bytes(path("other.jk8"), jk8({{"o.mp3", "1"}}));
  for (SonglistCommand command : {SonglistCommand::kSaveAs, SonglistCommand::kOpen, SonglistCommand::kNew}) {
    SCOPED_TRACE(static_cast<int>(command));
    select(1, 1);
    step_scores(songlist, files, ScoreDirection::kUp, range_of_selection(songlist));
    ASSERT_TRUE(files.can_undo());
    desktop.file_answers = {path(command == SonglistCommand::kNew ? "new.jk8" : "other.jk8")};
    files.songlist_command(command);
    EXPECT_FALSE(files.can_undo());
    EXPECT_FALSE(files.can_redo());
  }
}

TEST_F(UndoTest, ListeningStepsAreTheirOwnAndLeaveThePersonsStepsAlone) {
  select(2, 2);
  step_scores(songlist, files, ScoreDirection::kUp, range_of_selection(songlist));  // b to 5
  ASSERT_TRUE(files.undo());
  const std::string before = saved();
  files.apply(listening_change({"/m", "c.mp3"}, 1));
  EXPECT_EQ(songlist.TextMatrix(2, col::kFile), "c.mp3");
  EXPECT_EQ(std::pair(songlist.Row(), songlist.RowSel()), std::pair(2, 2)) << "no song is made current";
  EXPECT_EQ(files.undo_label(), "listening score of c.mp3");
  EXPECT_EQ(files.redo_label(), "Increment of b.mp3") << "the person's redo stays";
  // Listening never adds a song.
  files.apply(listening_change({"/m", "nobody.mp3"}, -1));
  EXPECT_EQ(files.undo_label(), "listening score of c.mp3");
  EXPECT_EQ(songlist.Rows(), 6);
  ASSERT_TRUE(files.undo());
  EXPECT_EQ(saved(), before);
}

TEST(UndoHistory, EachKindKeepsItsOwnPlaces) {
  // The person's first step, then more listening steps than are kept: the
  // person's step stays, below the last of them.
  UndoHistory history;
  history.push("mine", {});
  for (std::size_t i = 0; i < UndoHistory::kMostSteps + 44; ++i)
    history.push("heard " + std::to_string(i), {}, StepKind::kListening);
  std::size_t undone = 0;
  while (history.undo_label() != "mine" && history.undo()) ++undone;
  EXPECT_EQ(undone, UndoHistory::kMostSteps);
  EXPECT_EQ(history.redo_label(), "heard 44");
  history.push("heard again", {}, StepKind::kListening);
  EXPECT_EQ(history.redo_label(), "heard 44");
  history.push("mine again", {});
  EXPECT_FALSE(history.can_redo());
}

TEST_F(UndoTest, ScoreChangesAreToldWithTheirSourceBeforeTheSave) {
  SongEvents events;
  files.tell_scores_to(events);
  std::vector<std::string> told;
  events.on_scores([&](const std::vector<ScoreChange>& changes) {
    std::string line = saved() == before_change ? "" : "after the save! ";
    for (const ScoreChange& change : changes)
      line += change.file + " " + std::to_string(change.old_score) + ">" + std::to_string(change.new_score) + " " +
              std::to_string(static_cast<int>(change.source)) + "; ";
    told.push_back(line);
  });
  auto step = [&](const std::function<void()>& change) {
    before_change = saved();
    change();
  };
  select(2, 3);
  step([&] { step_scores(songlist, files, ScoreDirection::kUp, range_of_selection(songlist)); });
  step([&] { delete_rows(songlist, files, range_of_selection(songlist).rows); });  // no score moves
  step([&] { files.undo(); });                                                     // the rows come back as they were
  step([&] { files.undo(); });
  step([&] {
    files.apply(import_change({{{"/m", "e.mp3"}, Score(9), std::nullopt},
                               {{"/m", "z.mp3"}, Score(7), std::nullopt, true},
                               {{"/m", "y.mp3"}, Score(0), std::nullopt, true}}));
  });
  EXPECT_EQ(told, (std::vector<std::string>{"b.mp3 4>5 0; c.mp3 4>5 0; ", "b.mp3 5>4 6; c.mp3 5>4 6; ",
                                            "e.mp3 2>9 5; z.mp3 0>7 5; "}));
}

TEST_F(UndoTest, AnImportSetsScoresTakesOnlyLaterPlaysAndAddsOnlyWhatItMay) {
  files.apply(import_change({{{"/m", "a.mp3"}, std::nullopt, LastPlayed::read("14:05 6/12/01")},
                             {{"/m", "b.mp3"}, Score(0), LastPlayed::read("not a date")},
                             {{"/m", "new.mp3"}, std::nullopt, std::nullopt, true},
                             {{"/m", "gone.mp3"}, Score(9), std::nullopt, false}}));
  files.apply(
      import_change({{{"/m", "a.mp3"}, std::nullopt, LastPlayed::read("14:05 6/12/99")}}));  // earlier than 2001: kept
  EXPECT_EQ(saved(), "\"/m\",\"a.mp3\",\"5\",\"14:05 6/12/01\"\r\n" +
                         jk8({{"c.mp3", "4"}, {"d.mp3", "4"}, {"e.mp3", "2"}, {"b.mp3", "0"}, {"new.mp3", "0"}}));
  EXPECT_EQ(files.undo_label(), "Import of 3 songs");
}

}  // namespace
}  // namespace jukora
