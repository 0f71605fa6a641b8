// SPDX-License-Identifier: GPL-3.0-or-later
// The program's commands in one table: the word that names a command on the
// command line (--skip) and on the remote socket ("skip\n"), its help text,
// the tray icon whose click runs it, and what it does. The command line, the
// remote server and the tray all read this table; change what a command
// does here.
#pragma once

#include <cstddef>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <utility>

#include "songlist/song_events.h"

namespace jukora {

class Intents;

enum class Command { kIncrement, kDecrement, kSkip, kShow, kToggleList, kModeMenu, kUndo, kImportRatings };

// The tray icons in the order they go into the tray.
enum class TrayIconId { kDecrement = 1, kIncrement, kSkip, kShowHideList, kMode };
inline constexpr int kTrayIconCount = 5;

struct CommandCall;

// The longest value a command takes (a path): what the remote's one line
// can carry.
inline constexpr std::size_t kCommandValueLimit = 4096;

struct CommandEntry {
  Command command;
  // The option's name and the remote's word; empty for what only a tray
  // icon does.
  std::string_view word;
  // The name of the value the command takes ("PATH"); empty when it takes none.
  std::string_view argument;
  // What --help says of it.
  std::string_view help;
  // The icon whose left click runs it, and its tooltip.
  std::optional<TrayIconId> icon;
  const char* tooltip;
  // What it does; `argument` is empty for a command that takes none, and
  // `source` tells where it was asked (the tray, the command line, ...).
  void (*run)(Intents& intents, const std::string& argument, ChangeSource source);
  // A switch it takes besides its value ("dry-run" for --dry-run), empty
  // when none, and what --help says of it.
  std::string_view option = {};
  std::string_view option_help = {};
  // For a command whose caller waits for its outcome, what it does instead
  // of `run`: it answers through the call's reply once it is done.
  void (*answer)(Intents& intents, const CommandCall& call) = nullptr;
};

// Where a command whose caller waits sends its outcome: once, with the exit
// status and the text the caller prints. Empty when nobody waits.
struct CommandReply {
  std::function<void(int status, const std::string& text)> send;
  // Whether the caller still waits; work for one that has gone is dropped.
  std::function<bool()> waited_for;
  // A word for the caller while it waits (what the command waits for).
  std::function<void(const std::string& text)> note = {};
};

// A command as asked for, with its value when it takes one, and where it
// was asked: the program's own command line unless told otherwise.
struct CommandCall {
  // Not explicit: a bare command is a call without a value.
  CommandCall(Command command, std::string argument = {}, bool option = false,
              ChangeSource source = ChangeSource::kCommandLine)
      : command(command), argument(std::move(argument)), option(option), source(source) {}
  Command command;
  std::string argument;
  bool option = false;  // the entry's switch was given
  ChangeSource source;
  CommandReply reply;
  // The caller's working folder, against which a relative path it gave is
  // read; empty when the path came absolute, or the folder is not known.
  std::string folder;
  // The token the desktop gave the caller for bringing a window to the
  // front (Wayland's activation); empty when it gave none.
  std::string activation_token;
};

// Every command, in the order --help lists them.
std::span<const CommandEntry> command_table();
const CommandEntry& command_entry(Command command);
// The command whose left click on `icon` runs it.
const CommandEntry& command_of_icon(TrayIconId icon);

void run_command(const CommandCall& call, Intents& intents);

}  // namespace jukora
