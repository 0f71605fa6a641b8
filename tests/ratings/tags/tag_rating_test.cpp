// SPDX-License-Identifier: GPL-3.0-or-later
#include "ratings/tags/tag_rating.h"

#include <gmock/gmock.h>
#include <sys/stat.h>
#include <sys/xattr.h>
#include <unistd.h>

#include <tuple>

#include "ratings/background_read.h"
#include "ratings/tags/tag_files.h"
#include "ratings/tags/tag_sink.h"
#include "ratings/tags/tag_source.h"
#include "support/fakes.h"
#include "support/without_root.h"

namespace jukora::testing {
namespace {

using ::testing::HasSubstr;
using ::testing::Not;

constexpr std::chrono::seconds kPatience{20};

class TagTest : public ::testing::Test {
 protected:
  // Every test gets fresh copies of songs made once for the run.
  static void SetUpTestSuite() {
    made_ = new TempDir;
    for (const char* ext : {"mp3", "ogg", "opus", "flac", "m4a"})
      ASSERT_TRUE(make_song(made_->file(std::string("tone.") + ext))) << ext;
  }
  static void TearDownTestSuite() { delete made_; }
  std::string song(const std::string& name) {
    const std::string ext = std::filesystem::path(name).extension().string();
    std::filesystem::copy_file(made_->file("tone" + ext), temp.file(name));
    return temp.file(name);
  }

  static TempDir* made_;
  TempDir temp;
};
TempDir* TagTest::made_ = nullptr;

TEST_F(TagTest, OtherProgramsRatingsReadByTheOneTable) {
  const std::tuple<const char*, std::vector<std::string>, ReadRating> cases[] = {
      {"several.mp3", {"POPM:Banshee=196", "POPM:rating@winamp.com=64"}, ReadRating::rated(8)},
      {"own.mp3", {"POPM:Jukora=64", "POPM:other=255"}, ReadRating::rated(4)},
      {"fmps.mp3", {"TXXX=0.7", "POPM:other=255"}, ReadRating::rated(7)},
      {"v23.mp3", {"id3v3", "POPM:MusicBee=128"}, ReadRating::rated(6)},
      {"zero.mp3", {"POPM:x=0"}, ReadRating::unrated()},
      {"bare.mp3", {}, ReadRating::unrated()},
      {"fmps.flac", {"FMPS_RATING=0.9", "RATING=20"}, ReadRating::rated(9)},
      {"hundred.flac", {"RATING=80"}, ReadRating::rated(8)},
      {"stars.ogg", {"RATING=3"}, ReadRating::rated(6)},
      {"quodlibet.ogg", {"rating:quodlibet@lists.sacredchao.net=0.6", "rating:x@y=0.2"}, ReadRating::rated(6)},
      {"fmps.opus", {"FMPS_RATING=0.5"}, ReadRating::rated(5)},
      {"fmps.m4a", {"FMPS_Rating=0.3"}, ReadRating::rated(3)},
      {"huge.flac", {"RATING=700"}, ReadRating::impossible()},
      {"nonsense.ogg", {"FMPS_RATING=1e999"}, ReadRating::impossible()},
  };
  for (const auto& [name, tags, expected] : cases) {
    const std::string path = song(name);
    if (!tags.empty()) {
      ASSERT_TRUE(mutagen_write(path, tags)) << name;
    }
    EXPECT_EQ(read_tag_rating(path), expected) << name;
  }
  // Not what their names say, however large: told at once, by their first bytes.
  write_bytes(temp.file("noise.mp3"), std::string(3000, '\x7f'));
  ASSERT_EQ(mkfifo(temp.file("pipe.mp3").c_str(), 0600), 0);
  for (const char* name : {"noise.mp3", "huge.mp3", "huge.flac", "huge.ogg", "pipe.mp3"}) {
    const std::string path = temp.file(name);
    if (std::string(name).starts_with("huge")) {
      write_bytes(path, std::string(name).ends_with("mp3") ? "ID3\x04" : "");
      ASSERT_EQ(truncate(path.c_str(), std::int64_t{2} << 30), 0);
    }
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(read_tag_rating(path), ReadRating::unrated()) << name;
    EXPECT_EQ(write_tag_score(path, 5), TagEdit::kFailed) << name;
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(1)) << name;
  }
}

TEST_F(TagTest, WrittenScoreIsWhatMutagenReadsAndTheRestStaysAsItWas) {
  const std::tuple<const char*, std::vector<std::string>, std::vector<std::string>> cases[] = {
      {"v24.mp3",
       {"POPM:Banshee=64", "POPM:Jukora=1", "TXXX=0.2"},
       {"POPM:Banshee=64 count 7", "POPM:Jukora=186 count 7", "TXXX:FMPS_Rating=0.7", "version=2.4", "id3v1=False"}},
      {"v23.mp3",
       {"id3v3", "POPM:Banshee=64", "Other=kept"},
       {"POPM:Banshee=64 count 7", "POPM:Jukora=186 count 0", "TXXX:FMPS_Rating=0.7", "TXXX:Other=kept",
        "version=2.3"}},
      {"a.flac", {"RATING=20", "title=kept"}, {"FMPS_RATING=0.7", "RATING=20", "TITLE=kept"}},
      {"a.ogg", {"title=kept"}, {"FMPS_RATING=0.7", "TITLE=kept"}},
      {"a.opus", {"FMPS_RATING=0.1"}, {"FMPS_RATING=0.7"}},
      {"a.m4a", {"FMPS_Rating=0.1"}, {"----:com.apple.iTunes:FMPS_Rating=0.7"}},
  };
  TagSink sink(std::chrono::milliseconds(0));
  for (const auto& [name, tags, expected] : cases) {
    const std::string path = song(name);
    ASSERT_TRUE(mutagen_write(path, tags)) << name;
    chmod(path.c_str(), 0640);
    ASSERT_EQ(setxattr(path.c_str(), "user.jukora-test", "kept", 4, 0), 0);
    const std::string audio = decoded_audio(path);
    ASSERT_FALSE(audio.empty()) << name;

    sink.share(path, 7);
    ASSERT_TRUE(sink.wait_idle(kPatience));
    std::string lines = mutagen_read(path);
    for (auto& c : lines) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    for (std::string line : expected) {
      for (auto& c : line) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
      EXPECT_THAT(lines, HasSubstr(line)) << name;
    }
    EXPECT_EQ(decoded_audio(path), audio) << name;
    EXPECT_EQ(read_tag_rating(path), ReadRating::rated(7)) << name;
    struct stat st {};
    stat(path.c_str(), &st);
    EXPECT_EQ(st.st_mode & 07777, 0640u) << name;
    char value[8] = {};
    EXPECT_EQ(getxattr(path.c_str(), "user.jukora-test", value, sizeof value), 4) << name;
  }
  EXPECT_EQ(sink.writes(), std::size(cases));
  EXPECT_TRUE(sink.take_notices().empty());
}

TEST_F(TagTest, QuickChangesMakeOneWriteAndOddFilesAreToldOnce) {
  const std::string path = song("a.flac");
  const std::string linked = song("linked.ogg");
  ASSERT_EQ(link(linked.c_str(), temp.file("second name.ogg").c_str()), 0);
  const std::string real = song("real.mp3");
  std::filesystem::create_symlink(real, temp.file("through link.mp3"));
  {
    TagSink sink(std::chrono::milliseconds(200));
    for (int score : {3, 4, 9}) sink.share(path, score);
    for (int i = 0; i < 2; ++i) {
      sink.share(linked, 5);
      sink.share(temp.file("gone.mp3"), 5);
      sink.share(temp.file("through link.mp3"), 10);
      sink.share(temp.file("x.wav"), 5);
      write_bytes(temp.file("x.wav"), "RIFF");
      ASSERT_TRUE(sink.wait_idle(kPatience));
    }
    // Three changes of one song make one write; the song behind the link is
    // written once, as the second round would change nothing.
    EXPECT_EQ(sink.writes(), 2u);
    const auto notices = sink.take_notices();
    ASSERT_EQ(notices.size(), 3u);
    EXPECT_THAT(notices, ::testing::Contains(HasSubstr("more than one name")));
    EXPECT_THAT(notices, ::testing::Contains(HasSubstr("not there any more")));
    EXPECT_THAT(notices, ::testing::Contains(HasSubstr(".wav files")));
  }
  EXPECT_EQ(read_tag_rating(path), ReadRating::rated(9));
  EXPECT_TRUE(std::filesystem::is_symlink(temp.file("through link.mp3")));
  EXPECT_EQ(read_tag_rating(real), ReadRating::rated(10));
  EXPECT_EQ(read_tag_rating(linked), ReadRating::unrated());
  for (const auto& entry : std::filesystem::directory_iterator(temp.path()))
    EXPECT_THAT(entry.path().filename().string(), Not(HasSubstr(".jukora-")));

  // Permission bits do not stop root, so the read-only song is tried as nobody.
  const std::string locked = song("locked.opus");
  chmod(locked.c_str(), 0444);
  EXPECT_TRUE_WITHOUT_ROOT(temp.path(), [&] {
    TagSink sink(std::chrono::milliseconds(0));
    sink.share(locked, 6);
    sink.share(locked, 6);
    return sink.wait_idle(kPatience) && sink.writes() == 0 && sink.take_notices().size() == 1;
  });
}

TEST_F(TagTest, FolderIsWalkedAsADropWalksItOnAWorkerAndCancelKeepsNothing) {
  namespace fs = std::filesystem;
  fs::create_directories(temp.path() / "sub");
  ASSERT_TRUE(mutagen_write(song("a.ogg"), {"FMPS_RATING=0.4"}));
  fs::rename(song("b.mp3"), temp.path() / "sub" / "b.mp3");
  write_bytes(temp.file("cover.jpg"), "x");
  // Links to what holds the folder would bring in songs from above it, or
  // the whole disk; one into the folder would list its songs twice.
  TempDir above;
  write_bytes(above.file("above.mp3"), "x");
  fs::rename(temp.path(), above.path() / "picked");
  const fs::path picked = above.path() / "picked";
  fs::create_directory_symlink(above.path(), picked / "up");
  fs::create_directory_symlink("/", picked / "all");
  fs::create_directory_symlink(picked / "sub", picked / "again");
  BackgroundRead read(tag_source({(picked / "").string()}));
  const SourceRead songs = read.wait();
  ASSERT_EQ(songs.songs.size(), 2u);
  EXPECT_EQ(songs.songs[0].rating, ReadRating::rated(4));
  EXPECT_EQ(songs.songs[0].path, (picked / "a.ogg").string());
  EXPECT_EQ(songs.songs[1].path, (picked / "sub" / "b.mp3").string());
  fs::rename(picked, temp.path());

  auto cancelled = tag_source({temp.path().string()})->read([](std::size_t, std::size_t) { return false; });
  EXPECT_EQ(cancelled.status, SourceRead::Status::kCancelled);
  EXPECT_TRUE(cancelled.songs.empty());
}

}  // namespace
}  // namespace jukora::testing
