// SPDX-License-Identifier: GPL-3.0-or-later
// Typed rows read, show and write exactly what the text cells did: every
// file of the fuzzing corpus and 100,000 generated records mixing canonical
// and odd cells give the same table and the same bytes as the plain text
// table, through a load, a save and a load of what was saved.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>

#include "songlist/songlist.h"
#include "songlist/songlist_format.h"
#include "support/text_table.h"

namespace jukora::testing {
namespace {

// Loads `bytes` both ways and compares every cell, then the saved bytes;
// gives the typed table's bytes, and whether the load was whole.
std::string same_both_ways(const std::string& bytes, const std::string& what, bool* read_whole = nullptr) {
  TextTable text;
  const bool whole = text.read(bytes);
  Songlist typed;
  const LoadedText loaded = load_songlist_text(bytes, typed);
  EXPECT_EQ(loaded.whole, whole) << what;
  if (read_whole) *read_whole = whole;
  EXPECT_EQ(typed.Rows(), static_cast<int>(text.rows.size()) + 1) << what;
  for (int i = 1; i < typed.Rows() && i <= static_cast<int>(text.rows.size()); ++i)
    for (int c = 0; c < kColumns; ++c)
      if (typed.TextMatrix(i, c) != text.rows[static_cast<std::size_t>(i - 1)][static_cast<std::size_t>(c)]) {
        ADD_FAILURE() << what << ": row " << i << " column " << c << ": " << typed.TextMatrix(i, c) << " against "
                      << text.rows[static_cast<std::size_t>(i - 1)][static_cast<std::size_t>(c)];
        return {};
      }
  const std::string written = songlist_file_text(typed);
  EXPECT_EQ(written, text.write()) << what;
  if (whole) {
    EXPECT_EQ(loaded.as_written, written == bytes) << what;
  }
  return written;
}

void round_trip(const std::string& bytes, const std::string& what) {
  bool whole = false;
  const std::string written = same_both_ways(bytes, what, &whole);
  // A load cut short is not recomputed, so its rows are not in their order yet.
  const std::string again = same_both_ways(written, what + ", saved and read again");
  if (whole) {
    EXPECT_EQ(again, written) << what;
  }
}

TEST(TypedRows, TheCorpusReadsAndWritesAsTheTextCellsDid) {
  const std::filesystem::path corpus = JUKORA_FUZZ_CORPUS;
  if (!std::filesystem::is_directory(corpus)) GTEST_SKIP() << "no corpus at " << corpus;
  int files = 0;
  for (const auto& entry : std::filesystem::directory_iterator(corpus)) {
    std::ifstream in(entry.path(), std::ios::binary);
    std::stringstream bytes;
    bytes << in.rdbuf();
    round_trip(bytes.str(), entry.path().filename().string());
    ++files;
  }
  EXPECT_GE(files, 2);
}

TEST(TypedRows, AHundredThousandRecordsOfCanonicalAndOddCellsReadAndWriteAsTheTextCellsDid) {
  std::mt19937 random(25);
  auto pick = [&](const auto& list) { return list[random() % std::size(list)]; };
  auto often = [&] { return random() % 10 < 7; };
  const char* const directories[] = {"/music/a", "", "/m/say \"hi\"", "C:\\x", " spaced ", "/m,comma", "/m/b"};
  const char* const scores[] = {"05",
                                "+5",
                                " 5",
                                "1e2",
                                "2.5",
                                "-0",
                                "abc",
                                "",
                                "007",
                                ".5",
                                "5.",
                                "0x10",
                                "1e400",
                                "-3.5e1",
                                "2147483648",
                                "-2147483649",
                                "99999999999999999999",
                                "1234567890123456789"};
  const char* const dates[] = {"06:05 06/12/01", "14:05:33 6/12/2001", "6/12/01",        "",
                               "yesterday",      "10:00 2/30/26",      "00:00 1/1/1971", " 14:05 6/12/01",
                               "14:05 6/12/01 ", "9:07 1/1/01",        "12:00 1/1/46",   "12:00 1/1/47"};
  auto field = [&](const std::string& text) {
    if (random() % 20 == 0 && text.find_first_of("\",\r\n") == std::string::npos) return text;  // unquoted
    std::string quoted = "\"";
    for (char c : text) quoted += c == '"' ? std::string("\"\"") : std::string(1, c);
    return quoted + "\"";
  };
  std::string bytes;
  for (int i = 0; i < 100000; ++i) {
    const std::string score = often() ? std::to_string(static_cast<int>(random() % 101) - 50) : pick(scores);
    char date[32];
    std::snprintf(date, sizeof date, "%02d:%02d %d/%d/%02d", static_cast<int>(random() % 24),
                  static_cast<int>(random() % 60), static_cast<int>(random() % 12 + 1),
                  static_cast<int>(random() % 28 + 1), static_cast<int>(random() % 100));
    bytes += field(often() ? "/music/" + std::to_string(i % 97) : pick(directories)) + "," +
             field("song \"" + std::to_string(i) + "\".mp3") + "," + field(score) + "," +
             field(often() ? std::string(date) : pick(dates)) + (random() % 50 == 0 ? "\n\r\n" : "\r\n");
  }
  round_trip(bytes, "generated");
}

}  // namespace
}  // namespace jukora::testing
