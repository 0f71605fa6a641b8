#include "winamp/raw_bytes.h"

#include <gtest/gtest.h>

#include <random>
#include <string>

namespace jukora {
namespace {

TEST(RawBytes, ValidTextPassesUnchanged) {
  for (std::string text : {"", "/music/a b, c.mp3", "caf\xC3\xA9 \xE2\x82\xAC \xF0\x9F\x8E\xB5"}) {
    EXPECT_EQ(bytes_to_utf8(text), text);
    EXPECT_EQ(utf8_to_bytes(text), text);
  }
}

TEST(RawBytes, InvalidBytesBecomeValidTextAndComeBack) {
  // A lone Latin-1 byte, a cut sequence, an overlong slash, a surrogate, a
  // code point past U+10FFFF.
  for (std::string bytes : {"caf\xE9.mp3", "x\xE2\x82", "\xC0\xAF", "\xED\xA0\x80", "\xF4\x90\x80\x80", "\xFF"}) {
    std::string text = bytes_to_utf8(bytes);
    EXPECT_NE(text, bytes);
    EXPECT_EQ(bytes_to_utf8(text), text) << "the stand-ins are valid UTF-8";
    EXPECT_EQ(utf8_to_bytes(text), bytes);
  }
  EXPECT_EQ(bytes_to_utf8("\xE9"), "\xF4\x8F\xBF\xA9");

  std::mt19937 random(7);
  for (int round = 0; round < 200; ++round) {
    std::string bytes;
    for (int i = 0; i < 32; ++i) bytes.push_back(static_cast<char>(random() & 0xFF));
    EXPECT_EQ(utf8_to_bytes(bytes_to_utf8(bytes)), bytes);
  }
}

}  // namespace
}  // namespace jukora
