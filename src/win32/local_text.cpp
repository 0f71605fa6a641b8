// SPDX-License-Identifier: GPL-3.0-or-later
#include "win32/local_text.h"

#include <windows.h>

#include <filesystem>

#include "platform/native_path.h"

namespace jukora {

std::wstring wide(std::string_view local) { return wide_text(local); }

std::optional<std::string> local(std::wstring_view wide) {
  if (wide.empty()) return std::string();
  return local_text(std::filesystem::path(wide));
}

std::string local_shown(std::wstring_view wide) {
  if (wide.empty()) return {};
  const int size = static_cast<int>(wide.size());
  std::string text(
      static_cast<std::size_t>(WideCharToMultiByte(CP_ACP, 0, wide.data(), size, nullptr, 0, nullptr, nullptr)), '\0');
  WideCharToMultiByte(CP_ACP, 0, wide.data(), size, text.data(), static_cast<int>(text.size()), nullptr, nullptr);
  return text;
}

LocalPaths local_paths(const std::vector<std::wstring>& paths) {
  LocalPaths result;
  for (const std::wstring& path : paths) {
    if (auto text = local(path))
      result.paths.push_back(std::move(*text));
    else
      result.left_out.push_back(path);
  }
  return result;
}

std::string left_out_message(const std::vector<std::wstring>& paths) {
  constexpr std::size_t kNamed = 3;
  std::string names;
  for (std::size_t i = 0; i < paths.size() && i < kNamed; ++i) {
    const std::wstring& path = paths[i];
    const std::size_t slash = path.find_last_of(L"\\/");
    names += (i ? ", " : "") + local_shown(slash == std::wstring::npos ? path : path.substr(slash + 1));
  }
  if (paths.size() > kNamed) names += ", ...";
  const std::string count = std::to_string(paths.size());
  return paths.size() == 1
             ? "1 file was left out: its name cannot be written in this system's code page (" + names + ")."
             : count + " files were left out: their names cannot be written in this system's code page (" + names +
                   ").";
}

}  // namespace jukora
