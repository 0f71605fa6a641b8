// SPDX-License-Identifier: GPL-3.0-or-later
#include <algorithm>
#include <filesystem>
#include <tuple>

#include "player/winamp/winamp_texts.h"
#include "songlist/song_events.h"
#include "support/player_fixture.h"

namespace jukora::testing {
namespace {

std::vector<int> rows(int from, int to, std::vector<int> before = {}) {
  for (int i = from, step = from <= to ? 1 : -1; i != to + step; i += step) before.push_back(i);
  return before;
}

// A cycle over a scope, from the Countup, Countdown or Random menu.
using Menu = void (*)(PlayModes&, Scope);
const Menu up = [](PlayModes& modes, Scope scope) { modes.start_cycle({PlayOrder::kCountup, scope}); };
const Menu down = [](PlayModes& modes, Scope scope) { modes.start_cycle({PlayOrder::kCountdown, scope}); };
const Menu random = [](PlayModes& modes, Scope scope) { modes.start_cycle({PlayOrder::kRandom, scope}); };
const char* name(Scope scope) { return scope == Scope::kAll ? "All" : "Top 20"; }

using PlayCycleTest = PlayerFixture;

TEST_F(PlayCycleTest, EachModeWalksItsScopeOnceThenEnds) {
  // Rows, menu and scope, the random numbers drawn (then 0: a start at
  // row 1) and the order the rows are handed over in.
  const std::tuple<int, Menu, Scope, std::vector<double>, std::vector<int>> cases[] = {
      {5, up, Scope::kAll, {}, rows(1, 5)},
      {30, up, Scope::kTop20, {}, rows(1, 20)},
      {8, down, Scope::kAll, {}, rows(8, 1)},
      {5, down, Scope::kTop20, {}, rows(5, 1)},
      {30, down, Scope::kTop20, {}, rows(20, 1)},
      // 0.99 x 8 rounds to 8: a start at 9, past the last row, so back from
      // there; 0.5625 x 8 = 4.5 goes to the even 4.
      {8, random, Scope::kTop20, {0.99, 0.99, 0.5625}, {8, 7, 5, 1, 2, 3, 4, 6}},
      {30, random, Scope::kTop20, {0.99, 0.99}, rows(1, 19, {21, 20})},  // a start at 21 takes row 21
  };
  for (const auto& [count, menu, scope, randoms, order] : cases) {
    SCOPED_TRACE(std::to_string(count) + " rows, " + name(scope) + ", first " + std::to_string(order[0]));
    fill(count);
    songlist.SetTextMatrix(1, col::kMark, "*");  // left from an earlier cycle
    link.calls.clear();
    clock.randoms = randoms;
    clock.next = 0;
    menu(modes, scope);
    EXPECT_EQ(run(), order);
    EXPECT_EQ(cells(1, col::kMark, col::kLastPlayed), "*,00:00 1/1/71");
  }
  EXPECT_EQ(clock.reseeds, 9 + 22);
}

TEST_F(PlayCycleTest, TheTickFeedsAStoppedPlayerTheLowestUnmarkedRowInTheCurrentOrder) {
  fill(5);
  link.running = false;  // started bare, then with the song, in one tick
  modes.start_cycle({PlayOrder::kCountdown, Scope::kAll});
  modes.tick();
  EXPECT_EQ(link.starts(), (std::vector<std::string>{"start " + dir, "play_file " + dir + " " + song(5)}));
  link.running = true;
  // Busy: not answering, or not yet playing the song it was given.
  for (PlayStatus status : {PlayStatus::kPlaying, PlayStatus::kPaused, PlayStatus::kBusy}) {
    link.status = status;
    modes.tick();
  }
  modes.skip();  // stops the song: the next tick moves on
  songlist.SetTextMatrix(4, col::kScore, "100");
  recompute_songlist(songlist);  // 4, 1, 2, 3, 5*: the mark moved with its row
  modes.tick();
  songlist.SetTextMatrix(1, col::kScore, "zero");
  EXPECT_EQ(run(), (std::vector<int>{5, 3, 2, 1, 4}));  // saved as they stand, not re-sorted
  // Told once, at its end (Skip ends nothing).
  EXPECT_EQ(std::count(link.calls.begin(), link.calls.end(), "cycle_ended"), 1);
  EXPECT_EQ(link.calls.back(), "cycle_ended");
  EXPECT_NE(read_bytes(list).find("\"4.mp3\",\"zero\""), std::string::npos);
}

TEST_F(PlayCycleTest, RowsThatCannotBePlayedArePassedOverMarkedAndToldOncePerCycle) {
  // A row is data: a protocol in its Directory must never reach the player.
  const std::string attack = "av://lavfi:anullsrc,ametadata=mode=print:file=" + dir;
  auto plant = [&] {
    fill(6);
    std::filesystem::remove(song(1));
    std::filesystem::remove(song(2));
    songlist.SetTextMatrix(3, col::kDirectory, attack);
    std::filesystem::remove(song(5));
  };
  plant();
  modes.start_cycle({PlayOrder::kCountup, Scope::kAll});
  modes.tick();
  EXPECT_EQ(link.starts(), std::vector<std::string>{"play_file " + dir + " " + song(4)});
  EXPECT_EQ(desktop.notes, std::vector<std::string>{"Passed over 3 songs: 1 not a file on this computer, 2 missing."});
  EXPECT_EQ(cells(3, col::kMark, col::kDirectory), "*," + attack);
  EXPECT_NE(read_bytes(list).find(attack), std::string::npos) << "saved, the cycle never comes back to them";
  EXPECT_EQ(run(), (std::vector<int>{4, 6}));
  EXPECT_EQ(desktop.notes.size(), 1u) << "once per cycle";

  // Random "All" records them as played; a player's refusal passes over too.
  plant();
  link.calls.clear();
  desktop.notes.clear();
  link.refusal = "It is outside the music folder.";
  modes.start_cycle({PlayOrder::kRandom, Scope::kAll});
  EXPECT_EQ(run().size(), 2u);
  for (int row = 1; row <= 6; ++row) EXPECT_EQ(cells(row, col::kMark, col::kLastPlayed), ",11:00 12/6/26") << row;
  EXPECT_EQ(desktop.notes, std::vector<std::string>{"Passed over 6 songs: 1 not a file on this computer, 3 missing, "
                                                    "2 refused (It is outside the music folder)."});
}

TEST_F(PlayCycleTest, EachSongThePlayerTakesIsToldBeforeTheListIsSaved) {
  SongEvents events;
  std::vector<std::string> told;
  events.on_play([&](const HandedOver& song) {
    // The saved list does not hold the song as played yet (a direct play
    // saves nothing).
    const std::string text = std::filesystem::exists(list) ? read_bytes(list) : "";
    const auto line = text.find("\"" + song.file + "\"");
    const bool saved = line != std::string::npos &&
                       text.substr(line, text.find('\n', line) - line).find("11:00 12/6/26") != std::string::npos;
    told.push_back((song.kind == PlayKind::kCycle ? "cycle " : "direct ") + song.directory + " " + song.file +
                   (saved && song.kind == PlayKind::kCycle ? " saved" : ""));
  });
  modes.song_events = &events;
  fill(3);
  std::filesystem::remove(song(2));  // passed over: never told
  modes.start_cycle({PlayOrder::kRandom, Scope::kAll});
  EXPECT_EQ(run(), (std::vector<int>{1, 3}));
  songlist.SetRow(1);
  modes.play_row(songlist.Row());
  EXPECT_EQ(told, (std::vector<std::string>{"cycle " + music + " 1.mp3", "cycle " + music + " 3.mp3",
                                            "direct " + music + " 1.mp3"}));
}

TEST_F(PlayCycleTest, ASongFileThatNeverAnswersHoldsTheCycleTwiceThenIsPassedOver) {
  fill(2);
  // As on a mount that stopped answering.
  modes.look_at_song = [&](const std::string& path, auto) {
    return path == song(1) ? FileReach::kNoAnswer : look_at_file(path);
  };
  modes.start_cycle({PlayOrder::kCountup, Scope::kAll});
  modes.tick();
  modes.tick();
  EXPECT_EQ(cells(1, col::kMark, col::kFile), ",1.mp3") << "asked again, not marked";
  EXPECT_TRUE(link.starts().empty());
  modes.tick();
  EXPECT_EQ(cells(1, col::kMark, col::kFile), "*,1.mp3");
  EXPECT_EQ(run(), std::vector<int>{2});
  EXPECT_EQ(desktop.notes, std::vector<std::string>{"Passed over 1 song: 1 cannot be reached."});
}

TEST_F(PlayCycleTest, ABusyPlayerHoldsTheCycleWithoutMarkingAndIsToldOnce) {
  fill(3);
  modes.start_cycle({PlayOrder::kCountup, Scope::kAll});
  link.busy = true;
  for (int tick = 0; tick < 25; ++tick) modes.tick();
  link.busy = false;
  link.busy_hand_overs = 1;  // stopped, yet it cannot take the song now
  modes.tick();
  EXPECT_EQ(cells(1, col::kMark, col::kLastPlayed), ",00:00 1/1/71");
  EXPECT_TRUE(timer.enabled());
  EXPECT_FALSE(std::filesystem::exists(list));
  EXPECT_EQ(desktop.notes, std::vector<std::string>{"Winamp is not answering. The play cycle waits for it."});
  EXPECT_EQ(run(), (std::vector<int>{1, 1, 2, 3}));  // the busy hand-over, then the cycle
  EXPECT_TRUE(desktop.messages.empty());
}

TEST_F(PlayCycleTest, ASongIsMarkedOnlyOnceThePlayerPlaysItAndAPlayerThatCannotEndsTheCycle) {
  using State = Arrival::State;
  // What the player says of the first song after two ticks of waiting (and
  // whether that holds for any song), whether it refuses every song instead,
  // the songs handed over, the first row's Mark and what the user is told.
  const std::tuple<State, bool, bool, std::vector<int>, std::string, std::vector<std::string>> cases[] = {
      {State::kPlays, false, false, {1, 2, 3}, "*", {}},
      // Gone before it played: the same song again, to the player started anew.
      {State::kLost, false, false, {1, 1, 2, 3}, "*", {}},
      {State::kMissed, true, false, {1}, "", {"It played nothing."}},
      // This song only: the cycle goes on without it, and never comes back to it.
      {State::kMissed, false, false, {1, 2, 3}, "", {"Passed over 1 song: 1 did not play (It played nothing)."}},
      {State::kPlays, false, true, {1}, "", {"It takes no songs."}},
  };
  for (const auto& [outcome, any_song, refuses_any, handed, mark, notes] : cases) {
    SCOPED_TRACE(std::to_string(static_cast<int>(outcome)) + (any_song ? " any song" : "") +
                 (refuses_any ? " refusing" : ""));
    fill(3);
    link.calls.clear();
    desktop.notes.clear();
    link.refusal = refuses_any ? "It takes no songs." : "";
    link.refuses_any = refuses_any;
    link.arrivals = {{State::kAwaited, {}}, {State::kAwaited, {}}, {outcome, "It played nothing.", any_song}};
    modes.start_cycle({PlayOrder::kCountup, Scope::kAll});
    for (int tick = 0; tick < 2 && timer.enabled(); ++tick) modes.tick();
    EXPECT_EQ(cells(1, col::kMark, col::kLastPlayed), ",00:00 1/1/71") << "not marked while awaited";
    EXPECT_EQ(run(), handed);
    EXPECT_EQ(songlist.TextMatrix(1, col::kMark), mark);
    EXPECT_EQ(desktop.notes, notes);
  }
}

TEST_F(PlayCycleTest, ThreeSongsInARowThatDoNotPlayStopTheCycleNamingThemAndNoneIsRecorded) {
  auto miss = [](int song) {
    return Arrival{Arrival::State::kMissed, "Winamp did not play \"" + std::to_string(song) + ".mp3\"."};
  };
  for (Menu menu : {up, random}) {
    fill(6);
    link.calls.clear();
    desktop.notes.clear();
    // 1 and 3 to 5 do not play, 2 does: Countup's order, and Random "All"'s,
    // whose picks all fall on row 1 and whose scan then takes the next row.
    link.arrivals = {miss(1), {}, miss(3), miss(4), miss(5)};
    menu(modes, Scope::kAll);
    const std::vector<int> handed = run();
    EXPECT_EQ(handed, (std::vector<int>{1, 2, 3, 4, 5}));
    for (int row : {1, 3, 4, 5, 6}) EXPECT_EQ(cells(row, col::kMark, col::kLastPlayed), ",00:00 1/1/71") << row;
    EXPECT_EQ(songlist.TextMatrix(2, menu == up ? col::kMark : col::kLastPlayed), menu == up ? "*" : "11:00 12/6/26");
    EXPECT_EQ(desktop.notes,
              (std::vector<std::string>{"Passed over 1 song: 1 did not play (Winamp did not play \"1.mp3\").",
                                        "The play cycle stopped: Winamp did not play the last 3 songs it was handed, "
                                        "\"3.mp3\", \"4.mp3\", \"5.mp3\".  Winamp did not play \"3.mp3\".  Winamp "
                                        "did not play \"4.mp3\".  Winamp did not play \"5.mp3\".  None of them was "
                                        "marked as played."}));
    EXPECT_EQ(link.calls.back(), "cycle_ended");
  }
}

TEST_F(PlayCycleTest, ADirectPlayThePlayerDoesNotPlayGetsItsLastPlayedBackAndIsSaid) {
  SongEvents events;
  std::vector<std::string> told;
  events.on_play([&](const HandedOver& song) { told.push_back(song.file); });
  modes.song_events = &events;
  fill(2, "10:00 12/6/26");
  // An ended cycle: following the direct play takes no step of it.
  modes.start_cycle({PlayOrder::kCountup, Scope::kAll});
  EXPECT_EQ(run(), (std::vector<int>{1, 2}));
  told.clear();
  link.calls.clear();
  link.arrivals = {{Arrival::State::kAwaited, {}}, {Arrival::State::kMissed, "Winamp did not play \"1.mp3\"."}};
  modes.play_row(1);
  EXPECT_EQ(cells(1, col::kFile, col::kLastPlayed), "1.mp3,11:00 12/6/26") << "written at once";
  EXPECT_TRUE(timer.enabled());
  modes.tick();
  EXPECT_EQ(cells(1, col::kFile, col::kLastPlayed), "1.mp3,10:00 12/6/26");
  EXPECT_FALSE(timer.enabled());
  EXPECT_EQ(desktop.notes.back(), "Winamp did not play \"1.mp3\".  Its Last Played is back to 10:00 12/6/26.");
  EXPECT_TRUE(told.empty());

  // One that plays keeps its time, and counts as played once it does.
  link.arrivals = {{Arrival::State::kAwaited, {}}};
  modes.play_row(1);
  EXPECT_TRUE(told.empty());
  modes.tick();
  EXPECT_EQ(told, std::vector<std::string>{"1.mp3"});
  EXPECT_EQ(cells(1, col::kFile, col::kLastPlayed), "1.mp3,11:00 12/6/26");
  EXPECT_FALSE(timer.enabled());
  EXPECT_EQ(link.starts(), std::vector<std::string>(2, "play_file " + dir + " " + song(1)));

  // Leaving while it is awaited: it counts as played, as its Last Played is saved.
  told.clear();
  link.arrivals = {{Arrival::State::kAwaited, {}}};
  modes.play_row(1);
  modes.settle_before_exit();
  EXPECT_EQ(told, std::vector<std::string>{"1.mp3"});

  // Skip with no cycle set starts Random "All", which goes on after the song followed.
  modes.stop_player();
  link.arrivals = {{Arrival::State::kAwaited, {}}};
  modes.play_row(1);
  modes.skip();
  modes.tick();
  EXPECT_TRUE(timer.enabled());
}

TEST_F(PlayCycleTest, SkipMovesOnFromAPlayerThatIgnoresStopAndFromASongNotYetPlaying) {
  fill(3);
  modes.start_cycle({PlayOrder::kCountup, Scope::kAll});
  modes.tick();
  link.status = PlayStatus::kPaused;  // as Quod Libet stays after Stop
  modes.skip();
  link.arrivals = {{Arrival::State::kAwaited, {}}};
  modes.tick();
  modes.skip();
  EXPECT_EQ(songlist.TextMatrix(2, col::kMark), "*") << "skipped before it began";
  link.status = PlayStatus::kStopped;
  EXPECT_EQ(run(), (std::vector<int>{1, 2, 3}));
}

TEST_F(PlayCycleTest, AnEmptySonglistEndsTheCycleWithoutHandingOverItsBlankRow) {
  // Joined, the blank row's cells would name the root folder as the song.
  for (Menu menu : {up, down, random}) {
    for (Scope scope : {Scope::kAll, Scope::kTop20}) {
      SCOPED_TRACE(name(scope));
      fill(0);
      songlist.add_cells({});  // the placeholder row
      recompute_songlist(songlist);
      menu(modes, scope);
      EXPECT_TRUE(run().empty());
      EXPECT_EQ(cells(1, col::kMark, col::kDirectory), ",");
    }
  }
  EXPECT_FALSE(std::filesystem::exists(list));
  EXPECT_TRUE(desktop.notes.empty());
}

TEST_F(PlayCycleTest, AMissingExecutableIsReportedAndStopsTheTimer) {
  fill(2);
  settings.SaveSetting(sections::kPrefs, keys::kWinampDir, temp.file("elsewhere"));
  modes.start_cycle({PlayOrder::kCountdown, Scope::kTop20});
  modes.tick();
  EXPECT_EQ(modes.cycle(), (PlayCycle{PlayMode::kCountdown, 20}));
  modes.start_cycle({PlayOrder::kCountup, Scope::kAll, true});
  timer.set_enabled(true);
  modes.play_row(songlist.Row());  // leaves the timer alone
  EXPECT_TRUE(timer.enabled());
  EXPECT_EQ(desktop.messages, std::vector<std::string>(3, kExecutableNotFound));
  EXPECT_EQ(desktop.preferences_shown, 3);
  EXPECT_TRUE(link.calls.empty());
}

// Another program adds a song while a cycle runs: the save of the next
// song reads the list again, the marks go over by song, and the new song
// takes its turn.
TEST_F(PlayCycleTest, ACycleGoesOnOverTheListAnotherProgramChanged) {
  fill(3);
  files.write_songlist();
  modes.start_cycle({PlayOrder::kCountup, Scope::kAll});
  modes.tick();
  write_bytes(song(0), "");
  const std::string theirs = "\"" + music + "\",\"0.mp3\",\"9\",\"00:00 1/1/71\"\r\n" + read_bytes(list);
  write_bytes(list + ".new", theirs);
  std::filesystem::rename(list + ".new", list);
  EXPECT_EQ(run(), (std::vector<int>{1, 2, 0, 3}));
  EXPECT_EQ(desktop.notes, std::vector<std::string>{kReadAgainNotice});
  for (int i = 1; i <= 4; ++i) EXPECT_EQ(songlist.TextMatrix(i, col::kMark), "*") << i;
}

}  // namespace
}  // namespace jukora::testing
