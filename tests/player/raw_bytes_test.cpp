// SPDX-License-Identifier: GPL-3.0-or-later
#include "player/raw_bytes.h"

#include <gtest/gtest.h>

#include <string>

namespace jukora {
namespace {

TEST(RawBytes, KeepValidTextAndCarryAnyOtherByteThereAndBack) {
  const std::string valid = "/m/caf\xC3\xA9 \xE2\x82\xAC \xF0\x9F\x8E\xB5.mp3";
  EXPECT_EQ(bytes_to_utf8(valid), valid);
  EXPECT_EQ(bytes_to_utf8("\xE9"), "\xF4\x8F\xBF\xA9");
  // Latin-1, a cut sequence, an overlong slash, a surrogate, past U+10FFFF.
  for (std::string bytes : {"caf\xE9.mp3", "x\xE2\x82", "\xC0\xAF", "\xED\xA0\x80", "\xF4\x90\x80\x80", "\xFF"}) {
    std::string text = bytes_to_utf8(bytes);
    EXPECT_EQ(bytes_to_utf8(text), text) << "the stand-ins are valid UTF-8";
    EXPECT_EQ(utf8_to_bytes(text), bytes);
  }
}

}  // namespace
}  // namespace jukora
