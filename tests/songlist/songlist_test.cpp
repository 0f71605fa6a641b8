#include "songlist/songlist.h"

#include <gtest/gtest.h>

namespace jukora {
namespace {

TEST(Songlist, StartsWithTheHeaderRowOnly) {
  Songlist songlist;
  EXPECT_EQ(songlist.Rows(), 1);
}

}  // namespace
}  // namespace jukora
