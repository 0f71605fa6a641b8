// SPDX-License-Identifier: GPL-3.0-or-later
#include <fstream>
#include <iterator>
#include <random>
#ifndef _WIN32
#include <signal.h>
#include <unistd.h>

#include <cstdlib>
#endif

#include "player/winamp/winamp_texts.h"
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

CurrentSong FakePlayerLink::current_song(const std::string&) {
  calls.push_back("current_song");
  if (busy) return CurrentSong::busy();
  if (!running) return CurrentSong::not_running(texts().not_running);
  return song ? CurrentSong::song(*song) : CurrentSong::no_song();
}

std::string FakePlayerLink::folder_program(const std::string& dir) const { return dir + "/player.exe"; }
std::string FakePlayerLink::playlist_path(const std::string& dir) const { return dir + "/winamp.m3u"; }
PlayerTexts FakePlayerLink::texts() const { return winamp_texts(); }

std::vector<std::string> FakePlayerLink::starts() const {
  std::vector<std::string> out;
  for (const auto& call : calls)
    if (call.starts_with("start") || call.starts_with("play_file") || call.starts_with("play_playlist"))
      out.push_back(call);
  return out;
}

TempDir::TempDir() {
  std::random_device random;
  path_ = std::filesystem::temp_directory_path() / ("jukora-test-" + std::to_string(random()));
  std::filesystem::create_directories(path_);
}

TempDir::~TempDir() {
  std::error_code error;
#ifndef _WIN32
  // A player a test started, and that lost its way out with the test, must
  // not outlive the files it plays.
  const std::string inside = path_.string() + "/";
  for (const auto& entry : std::filesystem::directory_iterator("/proc", error)) {
    const pid_t pid = std::atoi(entry.path().filename().c_str());
    if (pid > 0 && pid != getpid() && read_bytes(entry.path() / "cmdline").find(inside) != std::string::npos)
      kill(pid, SIGKILL);
  }
#endif
  std::filesystem::permissions(path_, std::filesystem::perms::owner_all, std::filesystem::perm_options::add, error);
  std::filesystem::remove_all(path_, error);
}

std::string read_bytes(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void write_bytes(const std::string& path, const std::string& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out << bytes;
}

void write_wav(const std::string& path, std::uint32_t seconds) {
  auto le = [](std::uint32_t value, int bytes) {
    std::string out;
    for (int i = 0; i < bytes; ++i) out.push_back(static_cast<char>((value >> (8 * i)) & 0xFF));
    return out;
  };
  // 44.1 kHz: Audacious ends songs at lower rates at once now and then.
  constexpr std::uint32_t kRate = 44100;
  std::string samples;
  for (std::uint32_t i = 0; i < kRate * seconds; ++i) samples += le((i / 50) % 2 ? 0x0400 : 0xFC00, 2);
  std::uint32_t size = static_cast<std::uint32_t>(samples.size());
  std::filesystem::create_directories(std::filesystem::path(path).parent_path());
  write_bytes(path, "RIFF" + le(36 + size, 4) + "WAVEfmt " + le(16, 4) + le(1, 2) + le(1, 2) + le(kRate, 4) +
                        le(kRate * 2, 4) + le(2, 2) + le(16, 2) + "data" + le(size, 4) + samples);
}

}  // namespace jukora::testing
