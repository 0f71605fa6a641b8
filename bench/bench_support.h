// What the benchmarks share: a desktop that shows nothing and a songlist
// shaped like a large real collection.
#pragma once

#include <string>

#include "platform/desktop.h"

namespace jukora {

class Songlist;

class QuietDesktop : public Desktop {
 public:
  void message_box(const std::string&) override {}
  std::optional<std::string> choose_file(const FileDialogRequest&) override { return std::nullopt; }
  std::vector<std::string> choose_files(const FileDialogRequest&) override { return {}; }
  void set_captions(const std::string&, const std::string&) override {}
  void show_preferences() override {}
  void set_busy(bool) override {}
  void yield_events() override {}
};

// Row i of a large collection: ~96-byte records, scores 0..49.
std::string collection_directory(int i);
std::string collection_file(int i);
std::string collection_score(int i);

// Appends `rows` such songs and recomputes.
void fill_collection(Songlist& songlist, int rows);

}  // namespace jukora
