// SPDX-License-Identifier: GPL-3.0-or-later
// The Preferences' "Listening": "Learn scores from listening" with the
// rule's three numbers, "Tell me when listening changes a score", and the
// floor Random keeps to ("Random skips songs scored below N"), each off
// until turned on. Filled from the settings with the rest of the dialog;
// saved with it, but only what the person changed, so that a dialog closed
// with OK leaves no new keys behind.
#pragma once

#include <windows.h>

namespace jukora {

class SettingsStore;

class ListeningBox {
 public:
  // The controls of `dialog` (the Preferences dialog's resource).
  explicit ListeningBox(HWND dialog);

  void load(const SettingsStore& settings);
  void save(SettingsStore& settings) const;
  // Whether the control `id` is one of the box's and `code` a change of it;
  // a switch's change enables or greys what hangs on it.
  bool changed(int id, int code);

 private:
  // The numbers only matter while their switch is on.
  void enable_numbers();
  int number(int box) const;
  void set_number(int box, int value);

  HWND dialog_;
};

}  // namespace jukora
