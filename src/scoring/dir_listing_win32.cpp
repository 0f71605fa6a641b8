#include <windows.h>

#include "scoring/dir_listing.h"

namespace jukora {

bool is_hidden_entry(const std::filesystem::directory_entry& entry) {
  DWORD attributes = GetFileAttributesW(entry.path().c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES) return false;
  return (attributes & (FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM)) != 0;
}

}  // namespace jukora
