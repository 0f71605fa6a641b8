#include <fstream>
#include <iterator>
#include <random>

#include "support/fakes.h"

namespace jukora::testing {

std::optional<std::string> FakeDesktop::choose_file(const FileDialogRequest& request) {
  requests.push_back(request);
  if (file_answers.empty()) return std::nullopt;
  auto answer = file_answers.front();
  file_answers.erase(file_answers.begin());
  return answer;
}

std::vector<std::string> FakeDesktop::choose_files(const FileDialogRequest& request) {
  requests.push_back(request);
  if (files_answers.empty()) return {};
  auto answer = files_answers.front();
  files_answers.erase(files_answers.begin());
  return answer;
}

long FakeWinampLink::write_playlist(PlayerHandle player) {
  calls.push_back("write_playlist");
  if (!player) return 0;
  if (playlist_text) write_bytes(playlist_path(playlist_dir), *playlist_text);
  return position;
}

std::string FakeWinampLink::executable_path(const std::string& dir) const { return dir + "/player.exe"; }
std::string FakeWinampLink::playlist_path(const std::string& dir) const { return dir + "/winamp.m3u"; }

std::vector<std::string> FakeWinampLink::starts() const {
  std::vector<std::string> out;
  for (const auto& call : calls)
    if (call.rfind("start", 0) == 0) out.push_back(call);
  return out;
}

TempDir::TempDir() {
  std::random_device random;
  path_ = std::filesystem::temp_directory_path() / ("jukora-test-" + std::to_string(random()));
  std::filesystem::create_directories(path_);
}

TempDir::~TempDir() {
  std::error_code error;
  std::filesystem::permissions(path_, std::filesystem::perms::owner_all, std::filesystem::perm_options::add, error);
  std::filesystem::remove_all(path_, error);
}

std::string read_bytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void write_bytes(const std::string& path, const std::string& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out << bytes;
}

}  // namespace jukora::testing
