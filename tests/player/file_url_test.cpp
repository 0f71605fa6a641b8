// SPDX-License-Identifier: GPL-3.0-or-later
#include "player/file_url.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace jukora {
namespace {

TEST(FileUrl, FileUrlsCarryTheNamesBytesBothWays) {
  const std::string odd = "/m/a b #1 %41 \xc3\xbc \xff $(x).wav";
  EXPECT_EQ(file_url_from_path(odd), "file:///m/a%20b%20%231%20%2541%20%C3%BC%20%FF%20%24%28x%29.wav");
  EXPECT_EQ(path_from_file_url(file_url_from_path(odd)), odd);

  const std::vector<std::pair<std::string, std::optional<std::string>>> urls = {
      {"file:///b%20%232.wav", "/b #2.wav"},  // as Audacious writes it
      {"file:///x/\xc3\xbc.wav", "/x/\xc3\xbc.wav"},
      {"file://localhost/x.wav", "/x.wav"},
      {"FILE:///x.wav", "/x.wav"},
      {"file:///a%zz%4", "/a%zz%4"},  // no escape: taken as it stands
      {"file://host/x.wav", std::nullopt},
      {"file://localhost.example/x.wav", std::nullopt},
      {"https://radio.example/stream.mp3", std::nullopt},
      {"cdda://1", std::nullopt},
      {"file:x.wav", std::nullopt},
      {"file:///a%00b.wav", std::nullopt},
      {"", std::nullopt},
  };
  for (const auto& [url, path] : urls) EXPECT_EQ(path_from_file_url(url), path) << url;
}

}  // namespace
}  // namespace jukora
