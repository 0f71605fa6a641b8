// SPDX-License-Identifier: GPL-3.0-or-later
#include "win32/program.h"

#include <utility>

#include "platform/files.h"
#include "platform/settings_keys.h"
#include "player/executable_check.h"
#include "player/winamp/winamp_link.h"
#include "win32/local_text.h"
#include "win32/search_fold.h"
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
                .notify = [this](const std::string& text) { notify(text); },
                .show_window = [this] { form_.show(); },
                .toggle_window = [this] { form_.toggle_list(); },
                .mode_menu =
                    [this] {
                      POINT at{};
                      GetCursorPos(&at);
                      show_mode_menu(at);
                    },
                .status = [this](const std::string& text) { form_.show_status(text); }}),
      link_(make_winamp_link(winamp_window_)),
      session_({.settings = settings_,
                .desktop = desktop_,
                .clock = clock_,
                .loop = loop_,
                .cycle_timer = play_timer_,
                .link = *link_,
                .folders = folders_,
                .fold = fold_for_search}),
      rows_(session_),
      form_(settings_, rows_, window_intents()),
      tray_(form_.hwnd()),
      preferences_(settings_, form_.hwnd(),
                   {.saved = [this] { register_hotkeys(); },
                    .browse = [this] { dir_dialog_.show_chooser(); },
                    .closed = [this] { dir_dialog_.close_chooser(); }}),
      dir_dialog_(preferences_, wide(folders_.data), form_.hwnd()),
      hotkeys_(form_.hwnd()) {
  desktop_.set_owner(form_.hwnd());
  loop_.set_window(form_.hwnd());
  play_timer_.set_window(form_.hwnd());
  wire_window();
  session_.watch(*this);
}

Program::~Program() {
  session_.unwatch(*this);
  form_.hooks = {};
}

void Program::session_changed(const SessionNews& news) { form_.show_songlist(news.reveal); }

WindowIntents Program::window_intents() {
  return {
      .select = [this](int row, int row_sel) { rows_.select(row, row_sel); },
      .step_scores = [this](int step) { session_.step_scores(step > 0 ? ScoreDirection::kUp : ScoreDirection::kDown); },
      .delete_rows = [this] { session_.delete_rows(); },
      .play_row = [this] { session_.play_row(session_.songlist().Row()); },
      .drop =
          [this](const std::vector<std::wstring>& dropped) {
            LocalPaths paths = local_paths(dropped);
            if (!paths.left_out.empty()) desktop_.message_box(left_out_message(paths.left_out));
            session_.drop(paths.paths);
          },
      .search = [this](const std::string& text) { session_.search(text); },
      .undo = [this] { session_.undo(); },
      .redo = [this] { redo(); },
      .show_playing = [this] { session_.show_playing(); },
      .tick = [this] { session_.tick(); },
  };
}

ModeMenuIntents Program::menu_intents() {
  return {
      .random =
          [this](Scope scope) {
            session_.start_cycle({PlayOrder::kRandom, scope});
          },
      .countdown =
          [this](PlayChoice choice) {
            choice.order = PlayOrder::kCountdown;
            session_.start_cycle(choice);
          },
      .countup =
          [this](PlayChoice choice) {
            choice.order = PlayOrder::kCountup;
            session_.start_cycle(choice);
          },
      .songlist = [this](SonglistCommand command) { session_.songlist_command(command); },
      .add_files = [this] { session_.add_files(); },
      .preferences = [this] { session_.show_preferences(); },
      .stop_player = [this] { session_.stop_player(); },
      .exit = [this] { exit_now(); },
      .undo = [this] { session_.undo(); },
      .redo = [this] { redo(); },
      .show_playing = [this] { session_.show_playing(); },
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
  hooks.read_songlist = [this] { session_.load_songlist(); };
  hooks.remove_tray_icons = [this] { tray_.remove_tray_icons(); };
  hooks.closing = [this] {
    session_.save_unsaved();
    preferences_.close_dialog();
    dir_dialog_.close_chooser();
  };
  hooks.tray_click = [this](TrayClick click) { tray_click(click); };
  hooks.taskbar_created = [this] { tray_.put_back(); };
  hooks.hotkey = [this](int id) {
    switch (static_cast<HotkeyAction>(id)) {
      case HotkeyAction::kIncrement:
        return session_.increment(ChangeSource::kCommandLine);
      case HotkeyAction::kDecrement:
        return session_.decrement(ChangeSource::kCommandLine);
      case HotkeyAction::kSkip:
        return session_.skip();
      case HotkeyAction::kShowHide:
        return session_.toggle_list();
    }
  };
  hooks.remote_word = [this](RemoteWord word) { receive(word); };
  hooks.show_mode_menu = [this](POINT at) { show_mode_menu(at); };
  hooks.end_session = [this] { exit_now(); };
  hooks.busy = [this] { return desktop_.busy(); };
  hooks.posted_work = [this] { loop_.run_posted(); };
  hooks.timer = [this](UINT_PTR id) { loop_.tick(id); };
}

void Program::start(std::optional<RemoteWord> word) {
  form_.Form_Load();
  register_hotkeys();
  session_.start();
  if (word) receive(*word);
}

void Program::receive(RemoteWord word) {
  switch (word) {
    case RemoteWord::kIncrement:
      session_.increment(ChangeSource::kCommandLine);
      break;
    case RemoteWord::kDecrement:
      session_.decrement(ChangeSource::kCommandLine);
      break;
    case RemoteWord::kSkip:
      session_.skip();
      break;
    case RemoteWord::kShow:
      session_.show();
      break;
    case RemoteWord::kUndo:
      session_.undo();
      break;
    case RemoteWord::kExit:
      exit_now();
      break;
  }
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
      return session_.decrement(ChangeSource::kTray);
    case TrayIconId::kIncrement:
      return session_.increment(ChangeSource::kTray);
    case TrayIconId::kSkip:
      return session_.skip();
    case TrayIconId::kShowHideList:
      return session_.toggle_list();
    case TrayIconId::kMode:
      return;
  }
}

void Program::show_mode_menu(POINT at) {
  menu_.set_stop_caption(link_->texts().stop_item);
  menu_.set_undo_steps(session_.files().undo_label(), session_.files().redo_label());
  if (const UINT chosen = menu_.show_mode_menu(form_.hwnd(), at)) run_mode_menu_item(chosen, menu_intents());
}

void Program::register_hotkeys() {
  const std::string taken = hotkeys_.register_all(settings_);
  if (!taken.empty()) notify(taken);
}

void Program::redo() {
  if (!session_.redo_change()) notify("There is nothing to redo.");
}

void Program::notify(const std::string& text) {
  form_.show_status(text);
  if (read_notifications(settings_)) tray_.show_balloon(text);
}

void Program::exit_now() {
  tray_.remove_tray_icons();
  session_.save_unsaved();
  form_.save_changes();
  // A box or dialog runs a message loop of its own, in the middle of a
  // handler: nothing may run on from there.
  if (desktop_.in_modal()) ExitProcess(0);
  PostQuitMessage(0);
}

}  // namespace jukora
