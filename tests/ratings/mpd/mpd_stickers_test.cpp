// SPDX-License-Identifier: GPL-3.0-or-later
#include "ratings/mpd/mpd_stickers.h"

#include <gmock/gmock.h>
#include <signal.h>

#include <tuple>

#include "platform/memory_settings_store.h"
#include "platform/settings_keys.h"
#include "player/mpd/mpd_server.h"
#include "ratings/run_command.h"
#include "support/fakes.h"

namespace jukora::testing {
namespace {

using ::testing::HasSubstr;

constexpr std::chrono::seconds kPatience{20};

// A private MPD keeping stickers (or, asked to, none); they are set and read
// with mpc, as a user would.
struct StickerMpd {
  explicit StickerMpd(bool stickers = true) : server(temp.path().string(), {{}, {}, stickers}) {}
  std::string mpc(const std::string& arguments) const {
    return output_of("mpc --host=" + shell_quoted(server.socket()) + " " + arguments + " 2>&1");
  }
  std::string sticker(const std::string& song) const {
    std::string out = mpc("sticker " + shell_quoted(song) + " get rating");
    return out.starts_with("rating=") ? out.substr(7, out.find('\n') - 7) : "none";
  }
  TempDir temp;
  MpdServer server;
  const std::string &music = server.music(), &socket = server.socket();
};

SourceRead read_stickers(const StickerPlace& place) {
  return mpd_sticker_source(place)->read([](std::size_t, std::size_t) { return true; });
}

class MpdStickersTest : public ::testing::Test {
 protected:
  MpdStickersTest() { settings.SaveSetting(sections::kPlayer, keys::kMpdHost, mpd.socket); }
  MemorySettingsStore settings;
  StickerMpd mpd;
};

TEST_F(MpdStickersTest, StickersSetWithMpcAreReadAsLocalPaths) {
  ASSERT_GT(mpd.server.pid(), 0);
  mpd.mpc("sticker a.wav set rating 7");
  mpd.mpc("sticker 'Sub Dir/c \"q\".wav' set rating 10");
  mpd.mpc("sticker b.wav set rating high");
  // Over the socket MPD names its own music folder; a folder set in
  // Preferences (where this computer mounts it) wins.
  for (const std::string& folder : {std::string(), std::string("/mnt/music")}) {
    const SourceRead read = read_stickers({read_mpd_address(settings), folder});
    ASSERT_EQ(read.status, SourceRead::Status::kOk) << read.error;
    std::vector<std::pair<std::string, ReadRating>> seen;
    for (const SourceSong& song : read.songs) seen.emplace_back(song.path, song.rating);
    const std::string root = folder.empty() ? mpd.music : folder;
    EXPECT_THAT(seen, ::testing::UnorderedElementsAre(std::pair(root + "/a.wav", ReadRating::rated(7)),
                                                      std::pair(root + "/b.wav", ReadRating::impossible()),
                                                      std::pair(root + "/Sub Dir/c \"q\".wav", ReadRating::rated(10))));
  }
}

TEST_F(MpdStickersTest, ScoresBecomeStickersClampedAndAnAbsentMpdIsToldOnce) {
  MpdStickerSink sink(settings, std::chrono::milliseconds(100));
  const std::tuple<std::string, std::int64_t, std::string> cases[] = {
      {"a.wav", 8, "8"}, {"b.wav", 15, "10"}, {"Sub Dir/c \"q\".wav", -3, "0"}};
  for (const auto& [song, score, sticker] : cases) sink.share(mpd.music + "/" + song, score);
  sink.share("/elsewhere/x.wav", 5);  // not MPD's: no sticker, no word
  ASSERT_TRUE(sink.wait_idle(kPatience));
  for (const auto& [song, score, sticker] : cases) EXPECT_EQ(mpd.sticker(song), sticker) << song;
  EXPECT_TRUE(sink.take_notices().empty());

  // A stopped MPD: the change waits, the user hears once, and it is set
  // once MPD answers again.
  kill(mpd.server.pid(), SIGSTOP);
  sink.share(mpd.music + "/a.wav", 2);
  sink.share(mpd.music + "/a.wav", 3);
  std::vector<std::string> notices;
  EXPECT_TRUE(eventually([&] { return !(notices = sink.take_notices()).empty(); }, kPatience));
  EXPECT_THAT(notices, ::testing::ElementsAre(HasSubstr("cannot be reached")));
  // Leaving while a sticker waits on the stopped MPD does not wait for it.
  auto leaving = std::make_unique<MpdStickerSink>(settings);
  leaving->share(mpd.music + "/b.wav", 1);
  EXPECT_FALSE(leaving->wait_idle(std::chrono::milliseconds(300)));
  const auto left = std::chrono::steady_clock::now();
  leaving.reset();
  EXPECT_LT(std::chrono::steady_clock::now() - left, std::chrono::seconds(2));
  kill(mpd.server.pid(), SIGCONT);
  ASSERT_TRUE(sink.wait_idle(kPatience));
  EXPECT_EQ(mpd.sticker("a.wav"), "3");
  EXPECT_TRUE(sink.take_notices().empty());
}

TEST(MpdStickers, MpdWithoutStickersOrWithoutMpdSaysSoAndChangesNothing) {
  StickerMpd plain(false);
  MemorySettingsStore settings;
  settings.SaveSetting(sections::kPlayer, keys::kMpdHost, plain.socket);
  EXPECT_THAT(read_stickers(read_sticker_place(settings)).error, HasSubstr("keeps no stickers"));
  MpdStickerSink sink(settings);
  sink.share(plain.music + "/a.wav", 4);
  sink.share(plain.music + "/b.wav", 4);
  ASSERT_TRUE(sink.wait_idle(kPatience));
  EXPECT_THAT(sink.take_notices(), ::testing::ElementsAre(HasSubstr("add a sticker_file")));

  settings.SaveSetting(sections::kPlayer, keys::kMpdHost, plain.temp.file("nothing-here"));
  const SourceRead away = read_stickers(read_sticker_place(settings));
  EXPECT_EQ(away.status, SourceRead::Status::kFailed);
  EXPECT_THAT(away.error, HasSubstr("cannot be reached"));
}

}  // namespace
}  // namespace jukora::testing
