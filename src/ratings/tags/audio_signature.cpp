// SPDX-License-Identifier: GPL-3.0-or-later
#include "ratings/tags/audio_signature.h"

#include <cctype>
#include <cstdint>
#include <cstdio>
#include <memory>
#include <string_view>

#include "platform/files.h"
#include "platform/native_path.h"
#include "songlist/paths.h"

namespace jukora {

namespace {

// MPEG audio may follow its tag after some padding; a real file has its
// first frame within this many bytes.
constexpr std::size_t kFrameSearch = 64 * 1024;

// The size of an ID3v2 tag at the start of `bytes`, 0 when there is none.
std::size_t id3v2_size(std::string_view bytes) {
  if (bytes.size() < 10 || !bytes.starts_with("ID3")) return 0;
  std::size_t size = 0;
  for (int i = 6; i < 10; ++i) size = size << 7 | (static_cast<unsigned char>(bytes[i]) & 0x7f);
  const bool footer = static_cast<unsigned char>(bytes[5]) & 0x10;
  return 10 + size + (footer ? 10 : 0);
}

std::string read_at(std::FILE* file, std::size_t offset, std::size_t length) {
  std::string bytes(length, '\0');
  if (std::fseek(file, static_cast<long>(offset), SEEK_SET) != 0) return {};
  bytes.resize(std::fread(bytes.data(), 1, bytes.size(), file));
  return bytes;
}

bool has_frame_sync(std::string_view bytes) {
  for (std::size_t i = 0; i + 1 < bytes.size(); ++i)
    if (static_cast<unsigned char>(bytes[i]) == 0xff && (static_cast<unsigned char>(bytes[i + 1]) & 0xe0) == 0xe0)
      return true;
  return false;
}

}  // namespace

bool has_audio_signature(const std::string& path) { return has_audio_signature(path, get_extension(path)); }

bool has_audio_signature(const std::string& path, std::string_view type) {
  // A pipe or a device would hold the reader, whatever its name.
  if (!is_file(path)) return false;
  std::string extension(type);
  for (char& c : extension) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  const bool mpeg = extension == "mp3" || extension == "mp2" || extension == "mp1";
  const bool checked = mpeg || extension == "flac" || extension == "ogg" || extension == "oga" || extension == "opus" ||
                       extension == "m4a" || extension == "ape" || extension == "wv" || extension == "mpc";
  if (!checked) return true;
  std::unique_ptr<std::FILE, int (*)(std::FILE*)> file(open_file(path, "rb"), &std::fclose);
  if (!file) return false;
  const std::string head = read_at(file.get(), 0, 16);
  // An ID3v2 tag may come first in MPEG, FLAC and APE files.
  const std::size_t tag = id3v2_size(head);
  const std::string start =
      tag ? read_at(file.get(), tag, mpeg ? kFrameSearch : 16) : read_at(file.get(), 0, mpeg ? kFrameSearch : 16);
  const std::string_view s(start);
  if (mpeg) return has_frame_sync(s);
  if (extension == "flac") return s.starts_with("fLaC");
  if (extension == "m4a") return s.size() >= 8 && s.substr(4, 4) == "ftyp";
  if (extension == "ape") return s.starts_with("MAC ");
  if (extension == "wv") return s.starts_with("wvpk");
  if (extension == "mpc") return s.starts_with("MPCK") || s.starts_with("MP+");
  return s.starts_with("OggS");
}

}  // namespace jukora
