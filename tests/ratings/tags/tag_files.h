// SPDX-License-Identifier: GPL-3.0-or-later
// Songs in today's formats made by sox and ffmpeg, their rating tags written
// and read back by mutagen (through Debian's /usr/bin/python3), and their
// decoded audio, to show that a tag write leaves the sound alone.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "ratings/run_command.h"

namespace jukora::testing {

// A one-second tone as `path` (.mp3, .ogg, .opus, .flac or .m4a).
inline bool make_song(const std::string& path) {
  const std::string wav = path + ".source.wav";
  const std::string ext = std::filesystem::path(path).extension().string();
  const bool by_sox = ext == ".flac" || ext == ".ogg";
  const std::string codec = ext == ".opus" ? " -c:a libopus" : ext == ".m4a" ? " -c:a aac" : "";
  const bool made =
      std::system(("sox -n -r 44100 -c 1 -b 16 " + shell_quoted(wav) + " synth 1 sine 440").c_str()) == 0 &&
      std::system((by_sox ? "sox " + shell_quoted(wav) + " " + shell_quoted(path)
                          : "ffmpeg -v error -y -i " + shell_quoted(wav) + codec + " " + shell_quoted(path))
                      .c_str()) == 0;
  std::filesystem::remove(wav);
  return made;
}

inline std::string mutagen_command(const std::string& verb, const std::string& path,
                                   const std::vector<std::string>& items) {
  std::string command = "/usr/bin/python3 " JUKORA_TAGS_HELPER " " + verb + " " + shell_quoted(path);
  for (const std::string& item : items) command += " " + shell_quoted(item);
  return command;
}
inline bool mutagen_write(const std::string& path, const std::vector<std::string>& items) {
  return std::system(mutagen_command("write", path, items).c_str()) == 0;
}
inline std::string mutagen_read(const std::string& path) { return output_of(mutagen_command("read", path, {})); }

// The decoded samples, as ffmpeg hears them.
inline std::string decoded_audio(const std::string& path) {
  return output_of("ffmpeg -v error -i " + shell_quoted(path) + " -map 0:a -f md5 -");
}

}  // namespace jukora::testing
