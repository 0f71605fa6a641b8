#include "songlist/paths.h"

#include "platform/app_folders.h"

namespace jukora {

std::string get_file_name(std::string_view path) {
  auto at = path.rfind(kPathSeparator);
  return std::string(at == std::string_view::npos ? path : path.substr(at + 1));
}

std::string get_dir_name(std::string_view path) {
  auto at = path.rfind(kPathSeparator);
  return at == std::string_view::npos ? std::string() : std::string(path.substr(0, at));
}

std::string get_extension(std::string_view path) {
  auto at = path.rfind('.');
  return at == std::string_view::npos ? std::string() : std::string(path.substr(at + 1));
}

}  // namespace jukora
