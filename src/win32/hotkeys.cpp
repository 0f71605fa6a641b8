// SPDX-License-Identifier: GPL-3.0-or-later
#include "win32/hotkeys.h"

#include <commctrl.h>

#include <algorithm>

#include "platform/settings_keys.h"
#include "platform/settings_store.h"

namespace jukora {

namespace {

constexpr UINT kCtrlAlt = MOD_CONTROL | MOD_ALT;
constexpr HotkeySetting kSettings[] = {
    {HotkeyAction::kIncrement, "hotkey_increment", {kCtrlAlt, VK_PRIOR}},
    {HotkeyAction::kDecrement, "hotkey_decrement", {kCtrlAlt, VK_NEXT}},
    {HotkeyAction::kSkip, "hotkey_skip", {kCtrlAlt, VK_END}},
    {HotkeyAction::kShowHide, "hotkey_show_hide", {kCtrlAlt, 'J'}},
};

struct Name {
  UINT code;
  std::string_view text;
};
constexpr Name kModifiers[] = {{MOD_CONTROL, "Ctrl"}, {MOD_ALT, "Alt"}, {MOD_SHIFT, "Shift"}, {MOD_WIN, "Win"}};
constexpr Name kKeys[] = {
    {VK_PRIOR, "PageUp"},
    {VK_NEXT, "PageDown"},
    {VK_END, "End"},
    {VK_HOME, "Home"},
    {VK_INSERT, "Insert"},
    {VK_DELETE, "Delete"},
    {VK_LEFT, "Left"},
    {VK_RIGHT, "Right"},
    {VK_UP, "Up"},
    {VK_DOWN, "Down"},
    {VK_SPACE, "Space"},
    {VK_PAUSE, "Pause"},
    {VK_ADD, "NumPlus"},
    {VK_SUBTRACT, "NumMinus"},
    {VK_MULTIPLY, "NumTimes"},
    {VK_DIVIDE, "NumSlash"},
    {VK_MEDIA_NEXT_TRACK, "MediaNext"},
    {VK_MEDIA_PREV_TRACK, "MediaPrevious"},
    {VK_MEDIA_PLAY_PAUSE, "MediaPlayPause"},
    {VK_MEDIA_STOP, "MediaStop"},
};

std::string key_name(UINT key) {
  if ((key >= '0' && key <= '9') || (key >= 'A' && key <= 'Z')) return std::string(1, static_cast<char>(key));
  if (key >= VK_F1 && key <= VK_F24) return "F" + std::to_string(key - VK_F1 + 1);
  if (key >= VK_NUMPAD0 && key <= VK_NUMPAD9) return "Num" + std::to_string(key - VK_NUMPAD0);
  for (const Name& name : kKeys)
    if (name.code == key) return std::string(name.text);
  return {};
}

std::optional<UINT> key_of(std::string_view text) {
  if (text.size() == 1 && ((text[0] >= '0' && text[0] <= '9') || (text[0] >= 'A' && text[0] <= 'Z')))
    return static_cast<UINT>(text[0]);
  for (UINT key = VK_F1; key <= VK_F24; ++key)
    if (text == key_name(key)) return key;
  for (UINT key = VK_NUMPAD0; key <= VK_NUMPAD9; ++key)
    if (text == key_name(key)) return key;
  for (const Name& name : kKeys)
    if (name.text == text) return name.code;
  return std::nullopt;
}

const HotkeySetting& setting_of(HotkeyAction action) {
  return *std::find_if(std::begin(kSettings), std::end(kSettings),
                       [action](const HotkeySetting& setting) { return setting.action == action; });
}

}  // namespace

std::span<const HotkeySetting> hotkey_settings() { return kSettings; }

std::string hotkey_text(const std::optional<Hotkey>& hotkey) {
  if (!hotkey) return {};
  std::string text;
  for (const Name& modifier : kModifiers)
    if (hotkey->modifiers & modifier.code) text.append(modifier.text).append("+");
  return text + key_name(hotkey->key);
}

std::optional<Hotkey> parse_hotkey(std::string_view text) {
  Hotkey hotkey;
  while (!text.empty()) {
    const auto plus = text.find('+', 1);
    const std::string_view part = text.substr(0, plus);
    if (plus == std::string_view::npos) {
      const auto key = key_of(part);
      if (!key) return std::nullopt;
      hotkey.key = *key;
      return hotkey;
    }
    const auto modifier = std::find_if(std::begin(kModifiers), std::end(kModifiers),
                                       [part](const Name& name) { return name.text == part; });
    if (modifier == std::end(kModifiers)) return std::nullopt;
    hotkey.modifiers |= modifier->code;
    text.remove_prefix(plus + 1);
  }
  return std::nullopt;
}

std::optional<Hotkey> from_hotkey_control(WORD value) {
  const UINT key = LOBYTE(value), flags = HIBYTE(value);
  if (key == 0 || key_name(key).empty()) return std::nullopt;
  Hotkey hotkey{0, key};
  if (flags & HOTKEYF_CONTROL) hotkey.modifiers |= MOD_CONTROL;
  if (flags & HOTKEYF_ALT) hotkey.modifiers |= MOD_ALT;
  if (flags & HOTKEYF_SHIFT) hotkey.modifiers |= MOD_SHIFT;
  return hotkey;
}

WORD to_hotkey_control(const std::optional<Hotkey>& hotkey) {
  if (!hotkey) return 0;
  BYTE flags = 0;
  if (hotkey->modifiers & MOD_CONTROL) flags |= HOTKEYF_CONTROL;
  if (hotkey->modifiers & MOD_ALT) flags |= HOTKEYF_ALT;
  if (hotkey->modifiers & MOD_SHIFT) flags |= HOTKEYF_SHIFT;
  // The paging and arrow keys sit on the extended part of the keyboard; the
  // control names them by that flag.
  if (hotkey->key >= VK_PRIOR && hotkey->key <= VK_DELETE) flags |= HOTKEYF_EXT;
  return MAKEWORD(static_cast<BYTE>(hotkey->key), flags);
}

std::optional<Hotkey> read_hotkey(const SettingsStore& settings, HotkeyAction action) {
  const HotkeySetting& setting = setting_of(action);
  const auto stored = settings.read(sections::kPrefs, setting.key);
  if (!stored) return setting.fallback;
  if (stored->empty()) return std::nullopt;
  if (auto hotkey = parse_hotkey(*stored)) return hotkey;
  return setting.fallback;
}

void save_hotkey(SettingsStore& settings, HotkeyAction action, const std::optional<Hotkey>& hotkey) {
  settings.write(sections::kPrefs, setting_of(action).key, hotkey_text(hotkey));
}

std::string GlobalHotkeys::register_all(const SettingsStore& settings) {
  unregister_all();
  std::vector<std::string> taken;
  for (const HotkeySetting& setting : kSettings) {
    const auto hotkey = read_hotkey(settings, setting.action);
    if (!hotkey) continue;
    const int id = static_cast<int>(setting.action);
    if (RegisterHotKey(window_, id, hotkey->modifiers | MOD_NOREPEAT, hotkey->key)) {
      registered_.push_back(setting.action);
    } else if (std::find(told_.begin(), told_.end(), *hotkey) == told_.end()) {
      told_.push_back(*hotkey);
      taken.push_back(hotkey_text(hotkey));
    }
  }
  if (taken.empty()) return {};
  std::string names = taken.front();
  for (std::size_t i = 1; i < taken.size(); ++i) names += (i + 1 == taken.size() ? " and " : ", ") + taken[i];
  return names + (taken.size() == 1 ? " is taken by another program." : " are taken by other programs.");
}

void GlobalHotkeys::unregister_all() {
  for (HotkeyAction action : registered_) UnregisterHotKey(window_, static_cast<int>(action));
  registered_.clear();
}

}  // namespace jukora
