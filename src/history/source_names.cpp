// SPDX-License-Identifier: GPL-3.0-or-later
#include "history/source_names.h"

#include <utility>

namespace jukora {

namespace {

constexpr std::pair<ChangeSource, std::string_view> kSources[] = {{ChangeSource::kWindow, "window"},
                                                                  {ChangeSource::kTray, "tray"},
                                                                  {ChangeSource::kCommandLine, "command line"},
                                                                  {ChangeSource::kRemote, "remote"},
                                                                  {ChangeSource::kDbus, "D-Bus"},
                                                                  {ChangeSource::kImport, "import"},
                                                                  {ChangeSource::kUndo, "undo"},
                                                                  {ChangeSource::kListening, "listening"}};

constexpr std::pair<PlayKind, std::string_view> kPlayKinds[] = {{PlayKind::kCycle, "cycle"},
                                                                {PlayKind::kDirect, "direct"}};

template <class Value, std::size_t N>
std::string_view name_of(const std::pair<Value, std::string_view> (&table)[N], Value value) {
  for (const auto& [known, name] : table)
    if (known == value) return name;
  return {};
}

template <class Value, std::size_t N>
std::optional<Value> value_of(const std::pair<Value, std::string_view> (&table)[N], std::string_view name) {
  for (const auto& [value, known] : table)
    if (known == name) return value;
  return std::nullopt;
}

}  // namespace

std::string_view source_name(ChangeSource source) { return name_of(kSources, source); }
std::optional<ChangeSource> source_from_name(std::string_view name) { return value_of(kSources, name); }

std::string_view play_kind_name(PlayKind kind) { return name_of(kPlayKinds, kind); }
std::optional<PlayKind> play_kind_from_name(std::string_view name) { return value_of(kPlayKinds, name); }

}  // namespace jukora
