// SPDX-License-Identifier: GPL-3.0-or-later
#include "session/commands.h"

#include <algorithm>
#include <cstddef>

#include "ratings/source_choice.h"
#include "session/intents.h"

namespace jukora {

namespace {

constexpr CommandEntry kCommands[] = {
    {Command::kIncrement, "increment", "", "Raise the score of the song the player is at by one.",
     TrayIconId::kIncrement, "Increment",
     [](Intents& intents, const std::string&, ChangeSource source) { intents.increment(source); }},
    {Command::kDecrement, "decrement", "", "Lower the score of the song the player is at by one.",
     TrayIconId::kDecrement, "Decrement",
     [](Intents& intents, const std::string&, ChangeSource source) { intents.decrement(source); }},
    {Command::kSkip, "skip", "", "Stop the song so that the play cycle moves on; without a cycle, start Random > All.",
     TrayIconId::kSkip, "Skip", [](Intents& intents, const std::string&, ChangeSource) { intents.skip(); }},
    {Command::kShow, "show", "", "Show the songlist window and bring it to the front.", std::nullopt, nullptr,
     [](Intents& intents, const std::string&, ChangeSource) { intents.show(); }},
    {Command::kToggleList, "", "", "", TrayIconId::kShowHideList, "Show/Hide List",
     [](Intents& intents, const std::string&, ChangeSource) { intents.toggle_list(); }},
    {Command::kModeMenu, "", "", "", TrayIconId::kMode, "Mode",
     [](Intents& intents, const std::string&, ChangeSource) { intents.open_mode_menu(); }},
    {Command::kUndo, "undo", "", "Take back the last change to the songlist, as Undo in the mode menu does.",
     std::nullopt, nullptr, [](Intents& intents, const std::string&, ChangeSource) { intents.undo(); }},
    {Command::kImportRatings, "import-ratings", "SOURCE",
     "Import the ratings of SOURCE (a rhythmdb.xml, a Strawberry or Clementine database, mpd, or a folder or audio "
     "file) into the current songlist and print what changed; with --dry-run, only print what would change.",
     std::nullopt, nullptr, nullptr, "dry-run", "With --import-ratings: print what would change, and change nothing.",
     [](Intents& intents, const CommandCall& call) {
       intents.import_ratings(absolute_source_argument(call.argument, call.folder), call.option, call.reply);
     }},
};

// Each command at its own place, doing one thing, and each icon run by
// exactly one.
constexpr bool well_formed() {
  for (std::size_t i = 0; i < std::size(kCommands); ++i)
    if (static_cast<std::size_t>(kCommands[i].command) != i || !kCommands[i].run == !kCommands[i].answer) return false;
  for (int id = 1; id <= kTrayIconCount; ++id)
    if (std::count_if(std::begin(kCommands), std::end(kCommands),
                      [id](const CommandEntry& entry) { return entry.icon == static_cast<TrayIconId>(id); }) != 1)
      return false;
  return true;
}
static_assert(well_formed());

}  // namespace

std::span<const CommandEntry> command_table() { return kCommands; }

const CommandEntry& command_entry(Command command) { return kCommands[static_cast<std::size_t>(command)]; }

const CommandEntry& command_of_icon(TrayIconId icon) {
  return *std::find_if(std::begin(kCommands), std::end(kCommands),
                       [icon](const CommandEntry& entry) { return entry.icon == icon; });
}

void run_command(const CommandCall& call, Intents& intents) {
  const CommandEntry& entry = command_entry(call.command);
  if (entry.answer)
    entry.answer(intents, call);
  else
    entry.run(intents, call.argument, call.source);
}

}  // namespace jukora
