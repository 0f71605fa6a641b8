#include "scoring/dir_listing.h"

namespace jukora {

bool is_hidden_entry(const std::filesystem::directory_entry& entry) {
  const std::string name = entry.path().filename().native();
  return !name.empty() && name.front() == '.';
}

}  // namespace jukora
