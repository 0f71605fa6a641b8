// SPDX-License-Identifier: GPL-3.0-or-later
#include "win32/local_text.h"

#include <windows.h>

#include <filesystem>

#include "platform/native_path.h"

namespace jukora {

std::wstring wide(std::string_view local) { return wide_text(local); }

namespace {

// The length of a valid UTF-8 sequence of three or four bytes at `text`, else 0.
std::size_t long_utf8_at(std::string_view text) {
  const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(text[i]); };
  const std::size_t length = byte(0) >= 0xF0 && byte(0) <= 0xF4 ? 4 : byte(0) >= 0xE0 && byte(0) <= 0xEF ? 3 : 0;
  if (!length || text.size() < length) return 0;
  for (std::size_t i = 1; i < length; ++i)
    if ((byte(i) & 0xC0) != 0x80) return 0;
  // Overlong forms and surrogates are no text of the program's.
  if (byte(0) == 0xE0 && byte(1) < 0xA0) return 0;
  if (byte(0) == 0xED && byte(1) >= 0xA0) return 0;
  if (byte(0) == 0xF0 && byte(1) < 0x90) return 0;
  if (byte(0) == 0xF4 && byte(1) >= 0x90) return 0;
  return length;
}

std::wstring from_code_page(UINT code_page, std::string_view text) {
  if (text.empty()) return {};
  const int size = static_cast<int>(text.size());
  std::wstring out(static_cast<std::size_t>(MultiByteToWideChar(code_page, 0, text.data(), size, nullptr, 0)), L'\0');
  MultiByteToWideChar(code_page, 0, text.data(), size, out.data(), static_cast<int>(out.size()));
  return out;
}

}  // namespace

std::wstring wide_message(std::string_view text) {
  std::wstring out;
  std::size_t plain = 0;
  for (std::size_t i = 0; i < text.size();) {
    const std::size_t length = static_cast<unsigned char>(text[i]) >= 0xE0 ? long_utf8_at(text.substr(i)) : 0;
    if (!length) {
      ++i;
      continue;
    }
    out += from_code_page(CP_ACP, text.substr(plain, i - plain));
    out += from_code_page(CP_UTF8, text.substr(i, length));
    i += length;
    plain = i;
  }
  return out + from_code_page(CP_ACP, text.substr(plain));
}

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
