// SPDX-License-Identifier: GPL-3.0-or-later
// Keys that work in every program: Increment, Decrement, Skip and
// Show/Hide List through RegisterHotKey (Ctrl+Alt+PageUp, PageDown, End and
// J unless the Preferences say otherwise). Each is kept in section "prefs" as
// its text ("Ctrl+Alt+PageUp"); an empty text switches it off. A key another
// program holds is named once: "Ctrl+Alt+J is taken by another program".
#pragma once

#include <windows.h>

#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace jukora {

class SettingsStore;

// A key with its modifiers as RegisterHotKey takes them (MOD_CONTROL ...).
struct Hotkey {
  UINT modifiers = 0;
  UINT key = 0;  // a virtual-key code
  friend bool operator==(const Hotkey&, const Hotkey&) = default;
};

// The WM_HOTKEY ids, one per action.
enum class HotkeyAction { kIncrement = 1, kDecrement, kSkip, kShowHide };

struct HotkeySetting {
  HotkeyAction action;
  std::string_view key;  // the setting's name in section "prefs"
  Hotkey fallback;
};
std::span<const HotkeySetting> hotkey_settings();

// "Ctrl+Alt+PageUp"; empty for no key.
std::string hotkey_text(const std::optional<Hotkey>& hotkey);
// Nothing for a text that names no key (the empty text among them).
std::optional<Hotkey> parse_hotkey(std::string_view text);

// The hotkey control speaks its own modifier flags (HOTKEYF_...).
std::optional<Hotkey> from_hotkey_control(WORD value);
WORD to_hotkey_control(const std::optional<Hotkey>& hotkey);

// The key of `action`: its default while none is stored, none once it was
// switched off, the default again for a text that names no key.
std::optional<Hotkey> read_hotkey(const SettingsStore& settings, HotkeyAction action);
void save_hotkey(SettingsStore& settings, HotkeyAction action, const std::optional<Hotkey>& hotkey);

class GlobalHotkeys {
 public:
  explicit GlobalHotkeys(HWND window) : window_(window) {}
  ~GlobalHotkeys() { unregister_all(); }
  GlobalHotkeys(const GlobalHotkeys&) = delete;
  GlobalHotkeys& operator=(const GlobalHotkeys&) = delete;

  // Registers the keys the settings hold, in place of those before. Gives
  // the sentence that names the keys another program holds, each named
  // once per run; empty when there is nothing new to tell.
  std::string register_all(const SettingsStore& settings);
  void unregister_all();

 private:
  const HWND window_;
  std::vector<HotkeyAction> registered_;
  std::vector<Hotkey> told_;
};

}  // namespace jukora
