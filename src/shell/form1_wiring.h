// SPDX-License-Identifier: GPL-3.0-or-later
// What Form1 forwards its events to beyond the songlist itself: the play
// modes, scoring the playing song, adding songs, the tray buttons and the
// mode menu. Fills Form1's hooks; create it before Form_Load.
#pragma once

#include <QPoint>
#include <QTimer>
#include <functional>
#include <memory>

#include "playmodes/play_modes.h"
#include "scoring/add_songs.h"
#include "scoring/current_song_scoring.h"
#include "shell/intents.h"
#include "shell/mode_menu.h"
#include "shell/qt_play_timer.h"
#include "shell/tray_buttons.h"

namespace jukora {

class Clock;
class FileDrop;
class Form1;

class Form1Wiring : public Intents {
 public:
  Form1Wiring(Form1& form, TrayHost& tray, Clock& clock);
  ~Form1Wiring() override;
  Form1Wiring(const Form1Wiring&) = delete;
  Form1Wiring& operator=(const Form1Wiring&) = delete;

  PlayModes& play_modes() { return play_modes_; }
  TrayButtons& tray_buttons() { return tray_buttons_; }
  ModeMenu& mode_menu() { return mode_menu_; }

  void increment() override;
  void decrement() override;
  void skip() override;
  void show() override;
  void toggle_list() override;
  void open_mode_menu() override;

  // Opens the mode menu at `at` (screen position) and shows what its item did.
  void show_mode_menu(const QPoint& at);

  // How "Exit" ends the program once the tray icons are gone and what changed
  // is saved: at once, without closing the window first.
  std::function<void()> quit;

 private:
  void exit_now();

  Form1& form_;
  // Retries a score change that met a busy player.
  QTimer score_retry_;
  QtPlayTimer score_retry_timer_{score_retry_};
  PlayModes play_modes_;
  CurrentSongScoring scoring_;
  AddSongs add_songs_;
  TrayButtons tray_buttons_;
  ModeMenu mode_menu_;
  std::unique_ptr<FileDrop> file_drop_;
};

}  // namespace jukora
