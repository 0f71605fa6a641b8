// SPDX-License-Identifier: GPL-3.0-or-later
#include <windows.h>

#include <exception>

#include "platform/native_path.h"
#include "scoring/dir_listing.h"

namespace jukora {

bool is_hidden_entry(const std::filesystem::directory_entry& entry) {
  DWORD attributes = GetFileAttributesW(entry.path().c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES) return false;
  return (attributes & (FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM)) != 0;
}

std::optional<FolderId> folder_id(const std::string& dir) {
  HANDLE folder = INVALID_HANDLE_VALUE;
  try {
    // Opening a folder at all takes the backup flag; no access is asked for.
    folder = CreateFileW(native_path(dir).c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                         OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
  } catch (const std::exception&) {
    return std::nullopt;
  }
  if (folder == INVALID_HANDLE_VALUE) return std::nullopt;
  BY_HANDLE_FILE_INFORMATION info{};
  const bool known = GetFileInformationByHandle(folder, &info) != 0;
  CloseHandle(folder);
  if (!known) return std::nullopt;
  return FolderId{info.dwVolumeSerialNumber, (std::uint64_t{info.nFileIndexHigh} << 32) | info.nFileIndexLow};
}

}  // namespace jukora
