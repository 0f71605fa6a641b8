// SPDX-License-Identifier: GPL-3.0-or-later
// The program's one message loop: the main window's shortcuts come first,
// then the keys of the windows that move focus like dialogs (Tab, Enter,
// Esc), then the window the message is for.
#pragma once

#include <windows.h>

namespace jukora {

// A window whose Tab, Enter and Esc move focus and press buttons as in a dialog.
void add_modeless_dialog(HWND dialog);
void remove_modeless_dialog(HWND dialog);

// The main window and its shortcuts (Ctrl+F, Ctrl+Z ...): taken while focus
// is in that window but not in a text box.
void set_main_shortcuts(HWND window, HACCEL shortcuts);

void dispatch_message(MSG& message);
// Runs until the program ends; its exit code.
int run_message_loop();

}  // namespace jukora
