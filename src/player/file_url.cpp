// SPDX-License-Identifier: GPL-3.0-or-later
#include "player/file_url.h"

namespace jukora {

namespace {

bool is_unreserved(unsigned char c) {
  return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '-' || c == '.' ||
         c == '_' || c == '~' || c == '/';
}

int hex_value(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return -1;
}

// `lower` is lower case.
bool starts_with_ignoring_case(std::string_view text, std::string_view lower) {
  if (text.size() < lower.size()) return false;
  for (std::size_t i = 0; i < lower.size(); ++i) {
    char c = text[i];
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    if (c != lower[i]) return false;
  }
  return true;
}

}  // namespace

std::string file_url_from_path(std::string_view path) {
  static constexpr char kHex[] = "0123456789ABCDEF";
  std::string url = "file://";
  url.reserve(url.size() + path.size() * 3);
  for (char c : path) {
    auto byte = static_cast<unsigned char>(c);
    if (is_unreserved(byte)) {
      url.push_back(c);
    } else {
      url.push_back('%');
      url.push_back(kHex[byte >> 4]);
      url.push_back(kHex[byte & 0x0F]);
    }
  }
  return url;
}

std::optional<std::string> path_from_file_url(std::string_view url) {
  if (!starts_with_ignoring_case(url, "file://")) return std::nullopt;
  std::string_view rest = url.substr(7);
  auto slash = rest.find('/');
  if (slash == std::string_view::npos) return std::nullopt;
  std::string_view host = rest.substr(0, slash);
  if (!host.empty() && !(host.size() == 9 && starts_with_ignoring_case(host, "localhost"))) return std::nullopt;
  std::string_view encoded = rest.substr(slash);
  std::string path;
  path.reserve(encoded.size());
  for (std::size_t i = 0; i < encoded.size(); ++i) {
    // A "%" that does not start an escape is taken as it stands: some
    // players leave it so, and the name then still matches its row.
    if (encoded[i] == '%' && i + 2 < encoded.size() && hex_value(encoded[i + 1]) >= 0 &&
        hex_value(encoded[i + 2]) >= 0) {
      path.push_back(static_cast<char>(hex_value(encoded[i + 1]) * 16 + hex_value(encoded[i + 2])));
      i += 2;
    } else {
      path.push_back(encoded[i]);
    }
  }
  if (path.find('\0') != std::string::npos) return std::nullopt;
  return path;
}

}  // namespace jukora
