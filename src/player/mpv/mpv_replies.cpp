// SPDX-License-Identifier: GPL-3.0-or-later
#include "player/mpv/mpv_replies.h"

#include "platform/name_limits.h"

namespace jukora {

bool is_true(const MpvReply& reply) { return reply.ok && reply.data.is_boolean() && reply.data.get<bool>(); }

bool has_flag(const nlohmann::json& entry, const char* flag) {
  auto found = entry.find(flag);
  return found != entry.end() && found->is_boolean() && found->get<bool>();
}

std::string file_of(const nlohmann::json& entry) {
  auto found = entry.find("filename");
  if (found == entry.end() || !found->is_string() || found->get_ref<const std::string&>().size() > kLongestPath)
    return {};
  return found->get<std::string>();
}

std::vector<nlohmann::json> playlist_entries(const MpvReply& reply) {
  std::vector<nlohmann::json> entries;
  if (!reply.ok || !reply.data.is_array()) return entries;
  for (const auto& entry : reply.data) entries.push_back(entry.is_object() ? entry : nlohmann::json::object());
  return entries;
}

std::optional<std::int64_t> entry_id(const nlohmann::json& object) {
  if (!object.is_object()) return std::nullopt;
  auto found = object.find(object.contains("id") ? "id" : "playlist_entry_id");
  if (found == object.end() || !found->is_number_integer()) return std::nullopt;
  return found->get<std::int64_t>();
}

std::optional<std::string> failure_of(const nlohmann::json& end_file) {
  if (!end_file.is_object()) return std::nullopt;
  auto reason = end_file.find("reason");
  if (reason == end_file.end() || *reason != "error") return std::nullopt;
  auto error = end_file.find("file_error");
  return error != end_file.end() && error->is_string() ? error->get<std::string>().substr(0, 200) : "an error";
}

}  // namespace jukora
