// SPDX-License-Identifier: GPL-3.0-or-later
// Feeds arbitrary bytes to the songlist reader. Besides crashes and
// sanitizer reports it checks that the typed table reads, shows and writes
// exactly what the plain text table does, that a recomputed table survives
// a write and a read unchanged, which is what every save relies on, and
// that the load tells text a save would write from any other exactly as a
// comparison with the written text does.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "songlist/recompute.h"
#include "songlist/songlist.h"
#include "songlist/songlist_format.h"
#include "support/text_table.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::string_view bytes(reinterpret_cast<const char*>(data), size);
  jukora::Songlist songlist;
  const jukora::LoadedText loaded = jukora::load_songlist_text(bytes, songlist);
  if (loaded.whole && loaded.as_written != jukora::is_songlist_file_text(songlist, bytes)) std::abort();

  jukora::testing::TextTable text;
  if (text.read(bytes) != loaded.whole || static_cast<int>(text.rows.size()) + 1 != songlist.Rows()) std::abort();
  for (int i = 1; i < songlist.Rows(); ++i)
    for (int c = 0; c < jukora::kColumns; ++c)
      if (songlist.TextMatrix(i, c) != text.rows[static_cast<std::size_t>(i - 1)][static_cast<std::size_t>(c)])
        std::abort();
  if (jukora::songlist_file_text(songlist) != text.write()) std::abort();

  jukora::recompute_songlist(songlist);
  std::string written = jukora::songlist_file_text(songlist);
  jukora::Songlist reread;
  if (!jukora::append_songlist_records(written, reread)) std::abort();
  if (jukora::songlist_file_text(reread) != written) std::abort();
  return 0;
}
