// SPDX-License-Identifier: GPL-3.0-or-later
// The .jk8 text: one record a row, four quoted fields (Directory, File,
// Score, Last Played) separated by commas, each line ended by CR LF.
#pragma once

#include <string>
#include <string_view>

namespace jukora {

class Songlist;

// The file text of every data row. A quote inside a field is written twice.
std::string songlist_file_text(const Songlist& songlist);

// The file text of data rows `from` onward, as many as make about a
// megabyte, in `out` (emptied first); gives the row after the last one.
int append_songlist_text(const Songlist& songlist, int from, std::string& out);

// Whether `bytes` are exactly what songlist_file_text would give, found
// without building that text.
bool is_songlist_file_text(const Songlist& songlist, std::string_view bytes);

// Appends one row per record of `bytes`, as a load does: the placeholder row
// goes once the first record is in, and each new row becomes current.
// Returns false when the last record is cut short; the rows before it stay.
bool append_songlist_records(std::string_view bytes, Songlist& songlist);

struct LoadedText {
  // False when the last record was cut short; there was no recompute then.
  bool whole = true;
  // The bytes are exactly what saving the table would write now.
  bool as_written = false;
  // Of text that is not, the whole records, and those whose Score is not a
  // number or whose Last Played is not a date: the recompute makes them 0
  // and never played.
  int records = 0;
  int odd_records = 0;
};

// A load's reading: the records appended, then the recompute unless the last
// record was cut short. Whether the bytes are the table's own text is found
// on the way, without a pass of its own.
LoadedText load_songlist_text(std::string_view bytes, Songlist& songlist);

}  // namespace jukora
