// SPDX-License-Identifier: GPL-3.0-or-later
// The copy a tag write makes beside a song, when the writer is killed: the
// song stays whole, no leftover passes for a song, and the next write in the
// folder removes the leftovers that no write can still be making.
#include <gmock/gmock.h>
#include <signal.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <ctime>
#include <set>
#include <thread>

#include "ratings/tags/replace_through_copy.h"
#include "ratings/tags/tag_files.h"
#include "ratings/tags/tag_rating.h"
#include "ratings/tags/tag_sink.h"
#include "scoring/add_songs.h"
#include "songlist/paths.h"
#include "support/fakes.h"

namespace jukora::testing {
namespace {

using ::testing::IsEmpty;
using Clock = std::chrono::steady_clock;

std::set<std::string> names_in(const std::filesystem::path& folder) {
  std::set<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(folder)) names.insert(entry.path().filename().string());
  return names;
}

void make_old(const std::string& path) {
  const std::time_t two_minutes_ago = std::time(nullptr) - 120;
  const timespec times[2] = {{two_minutes_ago, 0}, {two_minutes_ago, 0}};
  utimensat(AT_FDCWD, path.c_str(), times, 0);
}

// Writes `score` into the song's tags in a child, which is killed `after` the
// copy appears beside the song (or once it is done, if that comes first).
void kill_during_write(const TempDir& folder, const std::string& song, int score, std::chrono::milliseconds after) {
  const std::set<std::string> before = names_in(folder.path());
  const pid_t child = fork();
  if (child == 0) {
    TagSink sink(std::chrono::milliseconds(0));
    sink.share(song, score);
    std::_Exit(sink.wait_idle(std::chrono::seconds(60)) ? 0 : 1);
  }
  const auto give_up = Clock::now() + std::chrono::seconds(30);
  int status = 0;
  while (Clock::now() < give_up && names_in(folder.path()) == before && waitpid(child, &status, WNOHANG) == 0)
    std::this_thread::sleep_for(std::chrono::microseconds(200));
  std::this_thread::sleep_for(after);
  kill(child, SIGKILL);
  waitpid(child, &status, 0);
}

TEST(SongCopy, KillsDuringWritesOfABigSongLeaveItWholeAndTheNextWriteRemovesTheirCopies) {
  TempDir folder;
  const std::string song = folder.file("big song.flac");
  // 20 MB that do not compress: the copy takes a while to write.
  ASSERT_EQ(
      std::system(
          ("head -c 20000000 /dev/urandom | sox -t raw -r 44100 -e signed -b 16 -c 2 - " + shell_quoted(song)).c_str()),
      0);
  const std::string audio = decoded_audio(song);
  ASSERT_FALSE(audio.empty());

  int score = 1;
  for (const int after : {0, 1, 3, 10, 30, 100})
    kill_during_write(folder, song, ++score, std::chrono::milliseconds(after));
  std::set<std::string> leftovers = names_in(folder.path());
  leftovers.erase("big song.flac");
  ASSERT_FALSE(leftovers.empty()) << "no kill came during a write";
  for (const std::string& name : leftovers) {
    EXPECT_TRUE(name.starts_with('.')) << name;
    EXPECT_FALSE(is_audio_extension(get_extension(name))) << name;
    EXPECT_TRUE(is_song_copy_name(name)) << name;
  }
  EXPECT_EQ(decoded_audio(song), audio);
  const ReadRating rating = read_tag_rating(song);
  EXPECT_TRUE(rating == ReadRating::unrated() || (rating.half_stars > 1 && rating.half_stars <= score));

  // Only names of the copies' form, of this user, untouched for a minute and
  // not locked by a write under way, are removed.
  for (const std::string& name : leftovers) make_old(folder.file(name));
  const std::string young = folder.file(".jukora-Ab12Cd.tmp"), locked = folder.file(".jukora-Lk56Mn.tmp"),
                    earlier = folder.file(".jukora-Xy34Zw-big song.flac"), foreign = folder.file(".jukora-abc.tmp"),
                    other_song = folder.file("a.jukora-Ab12Cd.tmp");
  for (const std::string& file : {young, locked, earlier, foreign, other_song}) {
    write_bytes(file, "part of a song");
    if (file != young) make_old(file);
  }
  // Another user's copy is that user's to remove (root can tell it apart).
  const std::string others = folder.file(".jukora-Ot78Hr.tmp");
  if (geteuid() == 0) {
    write_bytes(others, "part of a song");
    ASSERT_EQ(chown(others.c_str(), 65534, 65534), 0);
    make_old(others);
  }
  const int writing = open(locked.c_str(), O_RDWR);
  ASSERT_EQ(flock(writing, LOCK_EX), 0);

  TagSink sink(std::chrono::milliseconds(0));
  sink.share(song, 9);
  ASSERT_TRUE(sink.wait_idle(std::chrono::seconds(60)));
  close(writing);
  EXPECT_EQ(read_tag_rating(song), ReadRating::rated(9));
  std::set<std::string> kept = {"big song.flac", ".jukora-Ab12Cd.tmp", ".jukora-Lk56Mn.tmp", ".jukora-abc.tmp",
                                "a.jukora-Ab12Cd.tmp"};
  if (geteuid() == 0) kept.insert(".jukora-Ot78Hr.tmp");
  EXPECT_EQ(names_in(folder.path()), kept);
  EXPECT_THAT(sink.take_notices(), IsEmpty());
}

}  // namespace
}  // namespace jukora::testing
