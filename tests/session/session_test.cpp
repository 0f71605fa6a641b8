// SPDX-License-Identifier: GPL-3.0-or-later
// The program with no window and no Qt: the session over fakes of the
// platform and the player, as a shell drives it.
#include "session/session.h"

#include <gmock/gmock.h>

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <regex>

#include "history/history_store.h"
#include "platform/memory_settings_store.h"
#include "platform/settings_keys.h"
#include "support/fakes.h"

namespace jukora::testing {
namespace {

using ::testing::ElementsAre;
using ::testing::HasSubstr;

// Keeps what it is given, and answers no query.
struct KeptHistory : HistoryStore {
  std::uint64_t append(std::vector<HistoryEvent> events) override {
    kept.insert(kept.end(), events.begin(), events.end());
    return kept.size();
  }
  bool wait_committed(std::uint64_t, std::chrono::milliseconds) override { return true; }
  void song_history(std::string, std::string, std::function<void(std::vector<HistoryEvent>)>) override {}
  void weekly_activity(std::int64_t, int, std::function<void(WeeklyActivity)>) override {}
  std::vector<HistoryEvent> kept;
};

struct Watcher : SessionWatcher {
  void session_changed(const SessionNews& news) override { told.push_back(news); }
  std::vector<SessionNews> told;
};

class SessionTest : public ::testing::Test {
 protected:
  SessionTest() {
    std::filesystem::create_directories(music);
    std::filesystem::create_directories(temp.file("more"));
    write_bytes(temp.file("player.exe"), "");
    settings.SaveSetting(sections::kPrefs, keys::kWinampDir, temp.path().string());
    std::string list;
    for (const char* name : {"a.wav", "b.wav", "c.wav"}) {
      write_bytes(join_path(music, name), "x");
      list += "\"" + music + "\",\"" + name + "\",\"" + std::string(1, static_cast<char>('5' - (name[0] - 'a'))) +
              "\",\"00:00 1/1/71\"\r\n";
    }
    write_bytes(default_songlist_path(folders), list);
    session.watch(watcher);
  }
  std::string saved() const { return read_bytes(default_songlist_path(folders)); }
  std::string files_in_order() const {
    std::string order;
    for (int i = 1; i < session.songlist().Rows(); ++i) order += session.songlist().file(i).substr(0, 1);
    return order;
  }

  TempDir temp;
  const std::string music = temp.file("music");
  AppFolders folders{temp.path().string()};
  MemorySettingsStore settings;
  FakeDesktop desktop;
  FakeClock clock;
  FakeEventLoop loop;
  FakeTimer tmrJukora;
  FakePlayerLink link;
  KeptHistory history;
  Session session{{settings, desktop, clock, loop, tmrJukora, link, folders,
                   [](std::string_view text) {
                     std::string folded(text);
                     std::transform(folded.begin(), folded.end(), folded.begin(),
                                    [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
                     return folded;
                   },
                   &history}};
  Watcher watcher;
};

TEST_F(SessionTest, ACountdownCycleATrayScoreAnUndoAndASearchWithNoWindow) {
  session.load_songlist();
  ASSERT_EQ(files_in_order(), "abc");
  EXPECT_EQ(desktop.menu_caption, "Songlist (default.jk8)");
  ASSERT_FALSE(watcher.told.empty());
  EXPECT_TRUE(watcher.told.back().rows && watcher.told.back().file);

  // Countdown / All: the bottom row first, one song a tick while the player
  // has stopped, until no row is left and the timer goes off (a tick whose
  // file look ran late hands nothing over).
  session.start_cycle({PlayOrder::kCountdown, Scope::kAll});
  ASSERT_TRUE(tmrJukora.enabled());
  for (int tick = 0; tick < 50 && tmrJukora.enabled(); ++tick) session.tick();
  EXPECT_FALSE(tmrJukora.enabled());
  EXPECT_THAT(link.starts(), ElementsAre("play_file " + temp.path().string() + " " + join_path(music, "c.wav"),
                                         "play_file " + temp.path().string() + " " + join_path(music, "b.wav"),
                                         "play_file " + temp.path().string() + " " + join_path(music, "a.wav")));
  for (int row = 1; row <= 3; ++row) EXPECT_TRUE(session.songlist().marked(row)) << row;
  EXPECT_TRUE(watcher.told.back().songs) << "the marks were announced";

  // The tray's Increment raises the song the player is at past b, to a's score.
  link.song = join_path(music, "c.wav");
  session.increment(ChangeSource::kTray);
  session.increment(ChangeSource::kTray);
  EXPECT_EQ(files_in_order(), "acb");
  EXPECT_THAT(saved(), HasSubstr("\"c.wav\",\"5\""));
  EXPECT_THAT(desktop.notes.back(), HasSubstr("c \u2014 score 5"));
  ASSERT_EQ(history.kept.size(), 5u) << "three plays and two score changes";
  EXPECT_EQ(std::get<ScoreChange>(history.kept.back().what).source, ChangeSource::kTray);

  // Undo takes the last step back.
  session.undo();
  EXPECT_THAT(saved(), HasSubstr("\"c.wav\",\"4\""));
  EXPECT_EQ(files_in_order(), "abc") << "c is back in its place";

  // A search narrows what is shown, never the list, and is announced.
  watcher.told.clear();
  session.search("B.W");
  EXPECT_EQ(session.search_filter().shown(), std::vector<int>{2});
  EXPECT_EQ(session.search_filter().count_text(), "1 of 3 songs");
  EXPECT_EQ(session.songlist().Row(), 2) << "the cursor goes to the song found";
  ASSERT_EQ(watcher.told.size(), 1u);
  EXPECT_TRUE(watcher.told[0].search && watcher.told[0].reveal);
  session.search("");
  EXPECT_FALSE(session.search_filter().active());
  EXPECT_EQ(files_in_order(), "abc") << "the search left the list as it was";
}

TEST_F(SessionTest, ADropWalksInStepsFromTheEventLoopAndTheWindowRequestsGoToTheDesktop) {
  session.load_songlist();
  for (int i = 0; i < 5; ++i) write_bytes(join_path(temp.file("more"), std::to_string(i) + ".mp3"), "x");
  int steps = 0;
  loop.on_yield = [&] { ++steps; };
  session.drop({temp.file("more")});
  EXPECT_FALSE(session.add_songs().dropping());
  EXPECT_EQ(session.songlist().Rows(), 9);
  EXPECT_EQ(steps, 0) << "a short walk needs no second step";

  session.show();
  session.toggle_list();
  session.open_mode_menu();
  EXPECT_THAT(desktop.window, ElementsAre("show", "toggle", "mode menu"));
  link.song.reset();
  session.show_playing();
  EXPECT_EQ(desktop.status, "Nothing is playing.");
}

TEST_F(SessionTest, RandomTellsWhyItPickedASongAndListeningScoresASkipAsAStepOfItsOwn) {
  session.load_songlist();
  session.start();
  session.start_cycle({PlayOrder::kRandom, Scope::kTop20});
  // A file look that a loaded machine keeps past the tick's time is asked again in the next.
  for (int tick = 0; tick < 50 && desktop.notes.empty(); ++tick) session.tick();
  ASSERT_EQ(desktop.notes.size(), 1u);
  // std::regex: the test framework's own has no brackets on Windows.
  EXPECT_TRUE(
      std::regex_match(desktop.notes[0], std::regex(R"(Random picked [abc]\.wav: score [345], [0-9.]+ % chance)")))
      << desktop.notes[0];
  session.stop_player();

  // c.wav (score 3) left at 6 s of 20 through Jukora's Skip: it loses 1.
  save_listen_scores(settings, true);
  link.song = join_path(music, "c.wav");
  link.status = PlayStatus::kPlaying;
  link.length = std::chrono::seconds(20);
  for (int second : {4, 6}) {
    link.position = std::chrono::seconds(second);
    loop.fire(kListeningLook);
  }
  session.skip();
  loop.fire(kListeningLook);
  EXPECT_EQ(session.songlist().score(3).text(), "2");
  EXPECT_EQ(session.files().undo_label(), "listening score of c.wav");
  EXPECT_EQ(std::get<ScoreChange>(history.kept.back().what).source, ChangeSource::kListening);
  session.undo();
  EXPECT_THAT(saved(), HasSubstr("\"c.wav\",\"3\""));
}

}  // namespace
}  // namespace jukora::testing
