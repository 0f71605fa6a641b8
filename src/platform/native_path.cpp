// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/native_path.h"

#ifdef _WIN32
#include <windows.h>
#endif

namespace jukora {

#ifdef _WIN32

std::wstring wide_text(std::string_view text) {
  if (text.empty()) return {};
  const int size = static_cast<int>(text.size());
  std::wstring wide(static_cast<std::size_t>(MultiByteToWideChar(CP_ACP, 0, text.data(), size, nullptr, 0)), L'\0');
  MultiByteToWideChar(CP_ACP, 0, text.data(), size, wide.data(), static_cast<int>(wide.size()));
  return wide;
}

std::filesystem::path native_path(std::string_view text) { return std::filesystem::path(wide_text(text)); }

std::optional<std::string> local_text(const std::filesystem::path& path) {
  const std::wstring& wide = path.native();
  if (wide.empty()) return std::string();
  const int size = static_cast<int>(wide.size());
  // UTF-8 as the code page takes no question about default characters; it
  // fails on what it cannot write instead.
  const bool utf8 = GetACP() == CP_UTF8;
  const DWORD flags = utf8 ? WC_ERR_INVALID_CHARS : WC_NO_BEST_FIT_CHARS;
  BOOL lossy = FALSE;
  BOOL* ask_lossy = utf8 ? nullptr : &lossy;
  std::string text(
      static_cast<std::size_t>(WideCharToMultiByte(CP_ACP, flags, wide.data(), size, nullptr, 0, nullptr, ask_lossy)),
      '\0');
  WideCharToMultiByte(CP_ACP, flags, wide.data(), size, text.data(), static_cast<int>(text.size()), nullptr, ask_lossy);
  if (lossy || text.empty()) return std::nullopt;
  return text;
}

std::FILE* open_file(const std::string& path, const char* mode) {
  return _wfopen(native_path(path).c_str(), wide_text(mode).c_str());
}

#else

std::filesystem::path native_path(std::string_view text) { return std::filesystem::path(text); }

std::optional<std::string> local_text(const std::filesystem::path& path) { return path.native(); }

std::FILE* open_file(const std::string& path, const char* mode) { return std::fopen(path.c_str(), mode); }

#endif

}  // namespace jukora
