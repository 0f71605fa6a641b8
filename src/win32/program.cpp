// SPDX-License-Identifier: GPL-3.0-or-later
#include "win32/program.h"

#include <utility>

#include "platform/files.h"
#include "platform/settings_keys.h"
#include "player/executable_check.h"
#include "player/winamp/winamp_link.h"
#include "scoring/score_changes.h"
#include "songlist/row_deletion.h"
#include "win32/local_text.h"
#include "win32/winamp_folder.h"

namespace jukora {

Program::Program(AppFolders folders)
    : folders_(std::move(folders)),
      desktop_({.captions =
                    [this](const std::string& window_caption, const std::string& menu_caption) {
                      form_.set_caption(window_caption);
                      menu_.set_songlist_caption(menu_caption);
                    },
                .preferences = [this] { preferences_.show_dialog(); },
                .notify = [this](const std::string& text) { notify(text); }}),
      files_(songlist_, settings_, desktop_, folders_, dialog_memory_),
      rows_(songlist_),
      form_(settings_, rows_, window_intents()),
      tray_(form_.hwnd()),
      preferences_(settings_, form_.hwnd(),
                   {.saved = [this] { register_hotkeys(); },
                    .browse = [this] { dir_dialog_.show_chooser(); },
                    .closed = [this] { dir_dialog_.close_chooser(); }}),
      dir_dialog_(preferences_, wide(folders_.data), form_.hwnd()),
      hotkeys_(form_.hwnd()),
      link_(make_winamp_link(winamp_window_)),
      play_modes_(songlist_, files_, settings_, *link_, desktop_, clock_, play_timer_),
      scoring_(songlist_, files_, settings_, *link_, desktop_, retry_timer_),
      add_songs_(songlist_, files_, desktop_, dialog_memory_) {
  desktop_.set_owner(form_.hwnd());
  // Nothing here follows the song the player is at yet.
  menu_.enable(kMenuShowPlaying, false);
  play_timer_.set_window(form_.hwnd());
  retry_timer_.set_window(form_.hwnd());
  play_modes_.score_first = [this] { return scoring_.run_waiting(); };
  wire_window();
}

Program::~Program() {
  form_.hooks = {};
  link_->on_change = nullptr;
}

WindowIntents Program::window_intents() {
  return {
      .select = [this](int row, int row_sel) { rows_.select(row, row_sel); },
      .step_scores =
          [this](int step) {
            const int index = step > 0 ? kIncrement : kDecrement;
            if (const auto chosen = rows_.chosen())
              cmdIncDec_Click(songlist_, files_, index, *chosen);
            else
              cmdIncDec_Click(songlist_, files_, index);
          },
      .delete_rows =
          [this] {
            const auto chosen = rows_.chosen();
            MSFlexGrid1_KeyDown(songlist_, files_, kKeyDelete, 0, chosen ? &*chosen : nullptr);
          },
      .play_row = [this] { play_modes_.MSFlexGrid1_DblClick(); },
      .drop =
          [this](const std::vector<std::wstring>& dropped) {
            LocalPaths paths = local_paths(dropped);
            if (!paths.left_out.empty()) desktop_.message_box(left_out_message(paths.left_out));
            add_songs_.MSFlexGrid1_OLEDragDrop(paths.paths);
          },
      .search = [this](const std::string& text) { rows_.set_query(text); },
      .undo = [this] { undo(); },
      .redo = [this] { redo(); },
      .show_playing = {},
      .tick = [this] { play_modes_.tmrJukora_Timer(); },
      .retry_tick = [this] { scoring_.retry_Timer(); },
  };
}

ModeMenuIntents Program::menu_intents() {
  return {
      .random = [this](Scope scope) { play_modes_.mnuRandom_Click(scope); },
      .countdown = [this](PlayChoice choice) { play_modes_.mnuDescending_Click(choice); },
      .countup = [this](PlayChoice choice) { play_modes_.mnuAscending_Click(choice); },
      .songlist = [this](SonglistCommand command) { files_.mnuSonglist_Click(command); },
      .add_files = [this] { add_songs_.add_files_dialog(); },
      .preferences = [this] { preferences_.show_dialog(); },
      .stop_player = [this] { play_modes_.stop_winamp(); },
      .exit = [this] { exit_now(); },
      .undo = [this] { undo(); },
      .redo = [this] { redo(); },
      .show_playing = {},
  };
}

void Program::wire_window() {
  Form1Hooks& hooks = form_.hooks;
  hooks.check_player_folder = [this] {
    settle_winamp_dir(settings_, [](const std::string& path) { return is_file(path); });
    if (program_missing_from_folder(*link_, read_winamp_dir(settings_))) dir_dialog_.show_chooser();
  };
  hooks.add_tray_icons = [this] {
    tray_.add_tray_icons(read_mode_button(settings_));
    return tray_.shown_any();
  };
  hooks.read_songlist = [this] {
    files_.show_captions();
    files_.read_songlist();
  };
  hooks.remove_tray_icons = [this] { tray_.remove_tray_icons(); };
  hooks.closing = [this] {
    // A direct play's Last Played is not saved when it is made.
    if (files_.has_unsaved_change()) files_.write_songlist();
    preferences_.close_dialog();
    dir_dialog_.close_chooser();
  };
  hooks.tray_click = [this](TrayClick click) { tray_click(click); };
  hooks.taskbar_created = [this] { tray_.put_back(); };
  hooks.hotkey = [this](int id) {
    switch (static_cast<HotkeyAction>(id)) {
      case HotkeyAction::kIncrement:
        scoring_.increment_current_song(ChangeSource::kCommandLine);
        break;
      case HotkeyAction::kDecrement:
        scoring_.decrement_current_song(ChangeSource::kCommandLine);
        break;
      case HotkeyAction::kSkip:
        play_modes_.skip_song();
        break;
      case HotkeyAction::kShowHide:
        form_.toggle_list();
        break;
    }
  };
  hooks.remote_word = [this](RemoteWord word) { receive(word); };
  hooks.show_mode_menu = [this](POINT at) { show_mode_menu(at); };
  hooks.end_session = [this] { exit_now(); };
  hooks.busy = [this] { return desktop_.busy(); };
  // A player that tells of a change runs a waiting score and moves a running
  // cycle on without waiting for the next tick. Posted: the news may come in
  // the middle of a request to the player.
  link_->on_change = [this] { PostMessageW(form_.hwnd(), kPlayerChangedMessage, 0, 0); };
  hooks.player_changed = [this] {
    scoring_.run_waiting();
    if (play_timer_.enabled()) form_.tmrJukora_Timer();
  };
}

void Program::start(std::optional<RemoteWord> word) {
  form_.Form_Load();
  register_hotkeys();
  if (word) receive(*word);
}

void Program::receive(RemoteWord word) {
  switch (word) {
    case RemoteWord::kIncrement:
      scoring_.increment_current_song(ChangeSource::kCommandLine);
      break;
    case RemoteWord::kDecrement:
      scoring_.decrement_current_song(ChangeSource::kCommandLine);
      break;
    case RemoteWord::kSkip:
      play_modes_.skip_song();
      break;
    case RemoteWord::kShow:
      form_.show();
      break;
    case RemoteWord::kUndo:
      undo();
      break;
    case RemoteWord::kExit:
      exit_now();
      break;
  }
  form_.show_songlist();
}

void Program::tray_click(TrayClick click) {
  if (click.release == TrayRelease::kRight ||
      (click.release == TrayRelease::kLeft && click.icon == TrayIconId::kMode)) {
    POINT at{};
    GetCursorPos(&at);
    show_mode_menu(at);
    return;
  }
  if (click.release != TrayRelease::kLeft) return;
  switch (click.icon) {
    case TrayIconId::kDecrement:
      scoring_.decrement_current_song(ChangeSource::kTray);
      break;
    case TrayIconId::kIncrement:
      scoring_.increment_current_song(ChangeSource::kTray);
      break;
    case TrayIconId::kSkip:
      play_modes_.skip_song();
      break;
    case TrayIconId::kShowHideList:
      form_.toggle_list();
      break;
    case TrayIconId::kMode:
      break;
  }
}

void Program::show_mode_menu(POINT at) {
  menu_.set_stop_caption(link_->texts().stop_item);
  menu_.set_undo_steps(files_.undo_label(), files_.redo_label());
  if (const UINT chosen = menu_.show_mode_menu(form_.hwnd(), at)) run_mode_menu_item(chosen, menu_intents());
  form_.show_songlist();
}

void Program::register_hotkeys() {
  const std::string taken = hotkeys_.register_all(settings_);
  if (!taken.empty()) notify(taken);
}

void Program::undo() {
  if (!files_.undo()) notify("There is nothing to undo.");
}

void Program::redo() {
  if (!files_.redo()) notify("There is nothing to redo.");
}

void Program::notify(const std::string& text) {
  form_.show_status(text);
  if (read_notifications(settings_)) tray_.show_balloon(text);
}

void Program::exit_now() {
  tray_.remove_tray_icons();
  if (files_.has_unsaved_change()) files_.write_songlist();
  form_.save_changes();
  // A box or dialog runs a message loop of its own, in the middle of a
  // handler: nothing may run on from there.
  if (desktop_.in_modal()) ExitProcess(0);
  PostQuitMessage(0);
}

}  // namespace jukora
