// SPDX-License-Identifier: GPL-3.0-or-later
#include "ratings/source_choice.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <tuple>

#include "platform/memory_settings_store.h"
#include "platform/settings_keys.h"
#include "ratings/score_mirrors.h"
#include "ratings/score_sink.h"
#include "support/fakes.h"

namespace jukora::testing {
namespace {

TEST(SourceChoice, ArgumentIsToldByWhatItHoldsNotByItsName) {
  TempDir temp;
  write_bytes(temp.file("library.db"), std::string("SQLite format 3\0rest", 20));
  write_bytes(temp.file("db.xml"), "\xEF\xBB\xBF\n <?xml version=\"1.0\"?>\n<rhythmdb version=\"2.0\">");
  write_bytes(temp.file("song.mp3"), "ID3");
  write_bytes(temp.file("notes.txt"), "<html>");
  write_bytes(temp.file("rhythmdb.xml"), std::string(64, '\0'));
  const std::tuple<std::string, SourceKind> cases[] = {
      {"mpd", SourceKind::kMpd},
      {temp.path().string(), SourceKind::kTags},
      {temp.file("library.db"), SourceKind::kDatabase},
      {temp.file("db.xml"), SourceKind::kRhythmbox},
      {temp.file("song.mp3"), SourceKind::kTags},
      {temp.file("notes.txt"), SourceKind::kNone},
      {temp.file("rhythmdb.xml"), SourceKind::kNone},
      {temp.file("gone"), SourceKind::kNone},
      {"MPD", SourceKind::kNone},
  };
  for (auto [argument, kind] : cases) {
    const SourceChoice choice = choose_source(argument);
    EXPECT_EQ(choice.kind, kind) << argument;
    EXPECT_EQ(choice.problem.empty(), kind != SourceKind::kNone) << argument;
  }

  const auto known = known_sources("/home/me", "", "/cfg");
  ASSERT_EQ(known.size(), 3u);
#ifndef _WIN32
  EXPECT_EQ(known[0].path, "/home/me/.local/share/rhythmbox/rhythmdb.xml");
  EXPECT_EQ(known[1].path, "/home/me/.local/share/strawberry/strawberry/strawberry.db");
  EXPECT_EQ(known[2].path, "/cfg/Clementine/clementine.db");
#endif
}

struct RecordingSink : ScoreSink {
  void share(const std::string& path, std::int64_t score) override { shared.emplace_back(path, score); }
  std::vector<std::string> take_notices() override { return std::exchange(notices, {}); }
  std::vector<std::pair<std::string, std::int64_t>> shared;
  std::vector<std::string> notices;
};

TEST(ScoreMirrors, OnlyTheMirrorsTurnedOnGetLocalSongs) {
  MemorySettingsStore settings;
  RecordingSink mpd, tags;
  ScoreMirrors mirrors(settings, &mpd, &tags);
#ifdef _WIN32
  const std::string dir = "C:\\music";
#else
  const std::string dir = "/music";
#endif
  mirrors.score_changed(dir, "a.mp3", "3");
  settings.SaveSetting(sections::kPrefs, keys::kShareTags, "True");
  mirrors.score_changed(dir, "a.mp3", "4.5");
  settings.SaveSetting(sections::kPrefs, keys::kShareMpd, "True");
  mirrors.score_changed(dir, "b.mp3", "-2");
  mirrors.score_changed("http:", "stream", "5");
  EXPECT_EQ(mpd.shared.size(), 1u);
  ASSERT_EQ(tags.shared.size(), 2u);
  EXPECT_EQ(tags.shared[0].second, 4);  // halves to even, as every score
  EXPECT_EQ(mpd.shared[0].second, -2);

  tags.notices = {"read-only"};
  mpd.notices = {"stickers off"};
  EXPECT_EQ(mirrors.take_notices(), (std::vector<std::string>{"stickers off", "read-only"}));
  EXPECT_TRUE(mirrors.take_notices().empty());
}

}  // namespace
}  // namespace jukora::testing
