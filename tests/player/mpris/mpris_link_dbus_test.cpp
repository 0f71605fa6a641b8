// SPDX-License-Identifier: GPL-3.0-or-later
// The playing song read and scored, the export and a cycle played in order,
// the player's own next track and a track started by hand. (A stream the
// player names is tried on the stand-in player.)
#include "player/mpris/mpris_fixture.h"

namespace jukora::testing::mpris {
namespace {

TEST_P(MprisLinkTest, ThePlayingSongIsReadAndScoredWhateverItsName) {
  const std::vector<std::string> odd = {"with space.wav",
                                        "hash #1.wav",
                                        "percent %41.wav",
                                        "\xc3\xbc"
                                        "ber \xc3\xb1.wav",
                                        "bad \xff byte.wav",
                                        "$(touch pwned).wav"};
  for (const auto& name : odd) write_wav(song(name), 3);
  write_wav(song("unlisted.wav"), 3);
  make_list(odd);
  start_player();

  // The file, whether + adds it, and its row afterwards (empty: the songlist file is unchanged).
  std::vector<std::tuple<std::string, bool, std::string>> cases;
  for (std::size_t i = 0; i < odd.size(); ++i)
    cases.push_back(
        {odd[i], false, "\"" + music + "\",\"" + odd[i] + "\",\"" + std::to_string(odd.size() - i + 1) + "\""});
  cases.push_back({"unlisted.wav", false, ""});
  cases.push_back({"unlisted.wav", true, "\"" + music + "\",\"unlisted.wav\",\"0\""});
  for (const auto& [file, add_on_plus, expect] : cases) {
    SCOPED_TRACE(file);
    settings.SaveSetting(sections::kPrefs, keys::kAddOnPlus, add_on_plus ? "1" : "0");
    ASSERT_EQ(link.play_file(dir, song(file)).result, HandOver::Result::kStarted);
    ASSERT_TRUE(eventually([&] { return plays(song(file)); })) << url_on_bus();
    const std::string before = read_bytes(list);
    click(rig, desktop);
    if (expect.empty()) {
      EXPECT_EQ(read_bytes(list), before);
    } else {
      EXPECT_NE(read_bytes(list).find(expect), std::string::npos) << read_bytes(list);
    }
  }
  EXPECT_FALSE(std::filesystem::exists(music + "/pwned") || std::filesystem::exists("pwned"));

  // Audacious's helper that hands a song over ends by itself.
  EXPECT_TRUE(eventually([&] { return our_processes(tag).size() == 1; })) << "one player, whatever was handed to it";

  // Stopped, the player names no song: a click at once scores nothing.
  const std::string before = read_bytes(list);
  link.stop();
  EXPECT_EQ(click(rig, desktop), "Nothing is playing.");
  EXPECT_EQ(read_bytes(list), before);
  EXPECT_TRUE(url_on_bus().empty()) << "Stop stops the player";
}

TEST_P(MprisLinkTest, TheExportAndThenACountupCyclePlayThreeSongsInOrder) {
  make_list({"a.wav", "b.wav", "c.wav"});
  rig.modes.export_playlist(Scope::kAll, false);
  EXPECT_TRUE(desktop.messages.empty()) << desktop.messages.front();
  EXPECT_EQ(names(run({}, 3)), (std::vector<std::string>{"a.wav", "b.wav", "c.wav"}));

  ASSERT_TRUE(eventually([&] { return playing_now().empty(); }));
  rig.modes.start_cycle({PlayOrder::kCountup, Scope::kAll});
  EXPECT_EQ(names(run()), (std::vector<std::string>{"a.wav", "b.wav", "c.wav"}));
  EXPECT_TRUE(eventually([&] { return our_processes(tag).size() == 1; }));
}

TEST_P(MprisLinkTest, ThePlayersOwnNextTrackDoesNotTakeOver) {
  make_list({"other.wav", "b.wav"});
  rig.modes.start_cycle({PlayOrder::kCountup, Scope::kAll});
  bool queued = false;
  const Seen seen = run([&](const Seen& so_far) {
    if (!queued && !so_far.empty() && so_far.back().first == "other.wav") {
      user_plays(song("long.wav"), true);
      queued = true;
    }
  });
  ASSERT_FALSE(seen.empty());
  EXPECT_EQ(seen.front().first, "other.wav");
  EXPECT_EQ(seen.back().first, "b.wav");
  for (const auto& [name, time] : seen)
    if (name == "long.wav") {
      EXPECT_LT(time, 1s) << "the player's own track played on";
    }
}

TEST_P(MprisLinkTest, ATrackStartedByHandIsLeftPlaying) {
  make_list({"long.wav", "b.wav"});
  rig.modes.start_cycle({PlayOrder::kCountup, Scope::kAll});
  bool switched = false;
  const Seen seen = run([&](const Seen& so_far) {
    if (!switched && !so_far.empty() && so_far.back().first == "long.wav" && so_far.back().second > 700ms) {
      user_plays(song("other.wav"));
      switched = true;
    }
  });
  EXPECT_EQ(names(seen), (std::vector<std::string>{"long.wav", "other.wav", "b.wav"}));
  EXPECT_TRUE(eventually([&] { return our_processes(tag).size() == 1; }));
  if (seen.size() == 3) {
    EXPECT_GT(seen[1].second, 1200ms) << "the track started by hand was cut short";
  }
}

const auto kByStem = [](const auto& info) { return info.param; };
INSTANTIATE_TEST_SUITE_P(Players, MprisLinkTest, ::testing::Values("audacious", "mpv"), kByStem);

}  // namespace
}  // namespace jukora::testing::mpris
