// SPDX-License-Identifier: GPL-3.0-or-later
#include "ratings/rhythmbox/rhythmdb_source.h"

#include <gmock/gmock.h>
#include <unistd.h>

#include <filesystem>
#include <tuple>

#include "support/fakes.h"

namespace jukora::testing {
namespace {

using ::testing::HasSubstr;

SourceRead read_file(const std::string& path) {
  return rhythmdb_source(path)->read([](std::size_t, std::size_t) { return true; });
}

TEST(RhythmdbSource, SongsComeWithTheirRatingsAndPlaysAndNothingElseDoes) {
  TempDir temp;
  const std::string path = temp.file("rhythmdb.xml");
  write_bytes(path, R"(<?xml version="1.0" standalone="yes"?>
<rhythmdb version="2.0">
  <entry type="song"><title>A</title><location>file:///music/a%20b%23.mp3</location>
    <rating>4</rating><last-played>1700000000</last-played><play-count>3</play-count></entry>
  <entry type="song"><location>file:///music/%C3%BC%FF.ogg</location></entry>
  <entry type="song"><location>file:///music/c.flac</location><rating>0</rating><last-played>0</last-played></entry>
  <entry type="song"><location>file:///music/d.flac</location><rating>9</rating></entry>
  <entry type="iradio"><location>http://radio.example/x</location><rating>5</rating></entry>
  <entry type="song"><location>http://host/stream.mp3</location><rating>3</rating></entry>
  <entry type="song"><location>file://otherhost/e.mp3</location><rating>3</rating></entry>
  <entry type="ignore"><location>file:///music/cover.jpg</location></entry>
</rhythmdb>
)");
  const SourceRead read = read_file(path);
  ASSERT_EQ(read.status, SourceRead::Status::kOk) << read.error;
  ASSERT_EQ(read.songs.size(), 4u);
  EXPECT_EQ(read.songs[0].path, "/music/a b#.mp3");
  EXPECT_EQ(read.songs[0].rating, ReadRating::rated(8));
  EXPECT_EQ(read.songs[0].last_played, 1700000000);
  EXPECT_EQ(read.songs[1].path, "/music/\xC3\xBC\xFF.ogg");  // byte for byte, not UTF-8
  EXPECT_EQ(read.songs[1].rating, ReadRating::unrated());
  EXPECT_EQ(read.songs[2].rating, ReadRating::unrated());
  EXPECT_FALSE(read.songs[2].last_played);
  EXPECT_EQ(read.songs[3].rating, ReadRating::impossible());
  EXPECT_EQ(read.not_local, 2u);
}

TEST(RhythmdbSource, HostileFilesFailWithAClearWord) {
  TempDir temp;
  const std::string bomb = R"(<?xml version="1.0"?>
<!DOCTYPE rhythmdb [<!ENTITY a "aaaaaaaaaa"><!ENTITY b "&a;&a;&a;&a;&a;&a;&a;&a;&a;&a;">
<!ENTITY c "&b;&b;&b;&b;&b;&b;&b;&b;&b;&b;"><!ENTITY d "&c;&c;&c;&c;&c;&c;&c;&c;&c;&c;">]>
<rhythmdb><entry type="song"><location>file:///m/&d;</location><rating>5</rating></entry></rhythmdb>)";
  std::string noise(4096, '\0');
  for (std::size_t i = 0; i < noise.size(); ++i) noise[i] = static_cast<char>((i * 7919) % 251);
  const std::tuple<std::string, const char*> cases[] = {
      {bomb, "declares a document type"},
      {"<rhythmdb><entry type=\"song\"><location>file:///m/a.mp3</location><rat", "ends in the middle"},
      {"<rhythmdb><entry type=\"song\"><location>&ext;</location></entry></rhythmdb>", "line 1"},
      {"<library><entry type=\"song\"/></library>", "outermost element"},
      {noise, "cannot be read as Rhythmbox's database"},
      {"", "cannot be read"},
  };
  for (auto [text, why] : cases) {
    write_bytes(temp.file("x.xml"), text);
    const SourceRead read = read_file(temp.file("x.xml"));
    EXPECT_EQ(read.status, SourceRead::Status::kFailed) << why;
    EXPECT_THAT(read.error, HasSubstr(why));
    EXPECT_THAT(read.error, HasSubstr("Nothing was changed."));
    EXPECT_TRUE(read.songs.empty());
  }
  // 2 GB that take no disk: refused by their size before a byte is read.
  const std::string huge = temp.file("huge.xml");
  write_bytes(huge, "<rhythmdb>");
  ASSERT_EQ(truncate(huge.c_str(), std::int64_t{2} << 30), 0);
  EXPECT_THAT(read_file(huge).error, HasSubstr("larger than 1 GB"));
  EXPECT_THAT(read_file(temp.file("gone.xml")).error, HasSubstr("gone.xml"));
}

TEST(RhythmdbSource, CancelStopsTheRead) {
  TempDir temp;
  std::string xml = "<rhythmdb>";
  for (int i = 0; i < 5000; ++i)
    xml += "<entry type=\"song\"><location>file:///m/" + std::to_string(i) + "</location></entry>";
  write_bytes(temp.file("big.xml"), xml + "</rhythmdb>");
  int calls = 0;
  const SourceRead read = rhythmdb_source(temp.file("big.xml"))->read([&](std::size_t done, std::size_t total) {
    EXPECT_LE(done, total);
    return ++calls < 2;
  });
  EXPECT_EQ(read.status, SourceRead::Status::kCancelled);
  EXPECT_EQ(calls, 2);
}

}  // namespace
}  // namespace jukora::testing
