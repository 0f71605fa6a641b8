// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <tuple>

#include "platform/clean_path.h"
#include "support/fakes.h"

namespace jukora {
namespace {

TEST(CleanPath, EverySpellingOfAPathIsOneAndDotDotGoesWhereTheFileSystemGoes) {
  testing::TempDir temp;
  const std::string base = std::filesystem::canonical(temp.path()).string();
  std::filesystem::create_directories(base + "/Music/x");
  std::filesystem::create_directories(base + "/far/deep");
  std::filesystem::create_directory_symlink(base + "/far/deep", base + "/link");
  // The path, the caller's folder, and the one spelling of both.
  const std::tuple<std::string, std::string, std::string> cases[] = {
      {"./Music", base, base + "/Music"},
      {"../Music", base + "/Music", base + "/Music"},
      {"Music/", base, base + "/Music"},
      {"Music//x//", base, base + "/Music/x"},
      {"/home/u//Music//x", "", "/home/u/Music/x"},
      {"/home/u/Music/./x", "", "/home/u/Music/x"},
      {"./a.flac", base + "/Music", base + "/Music/a.flac"},
      {"x/..", base + "/Music", base + "/Music"},
      // After a link, ".." is the folder that holds its target.
      {"link/..", base, base + "/far"},
      {"link/../deep/a.flac", base, base + "/far/deep/a.flac"},
      {"link/a.flac", base, base + "/link/a.flac"},
      {"missing/../Music", base, base + "/Music"},
      {"/..", "", "/"},
      {".", base, base},
      {"MUSIC", base, base + "/MUSIC"},
      {"/music", base, "/music"},
  };
  for (const auto& [path, folder, clean] : cases)
    EXPECT_EQ(clean_path(path, folder), clean) << path << " in " << folder;

  // The working folder keeps the shell's spelling of it, a link's name too.
  const std::filesystem::path was = std::filesystem::current_path();
  const char* shell = std::getenv("PWD");
  const std::string was_shell = shell ? shell : "";
  std::filesystem::current_path(base + "/link");
  for (const auto& [pwd, folder] : {std::pair<std::string, std::string>{base + "/link", base + "/link"},
                                    {base + "/Music", base + "/far/deep"},
                                    {"link", base + "/far/deep"}}) {
    setenv("PWD", pwd.c_str(), 1);
    EXPECT_EQ(working_folder(), folder) << pwd;
  }
  std::filesystem::current_path(was);
  setenv("PWD", was_shell.c_str(), 1);
}

}  // namespace
}  // namespace jukora
