// SPDX-License-Identifier: GPL-3.0-or-later
#include "win32/registry_settings_store.h"

#include <windows.h>

#include <utility>

#include "win32/local_text.h"

namespace jukora {

namespace {

class OpenKey {
 public:
  OpenKey() = default;
  ~OpenKey() {
    if (key_) RegCloseKey(key_);
  }
  OpenKey(const OpenKey&) = delete;
  OpenKey& operator=(const OpenKey&) = delete;
  HKEY* out() { return &key_; }
  HKEY get() const { return key_; }

 private:
  HKEY key_ = nullptr;
};

}  // namespace

RegistrySettingsStore::RegistrySettingsStore(std::wstring root) : root_(std::move(root)) {}

std::wstring RegistrySettingsStore::section_path(std::string_view section) const {
  return root_ + L"\\" + wide(section);
}

std::optional<std::string> RegistrySettingsStore::read(std::string_view section, std::string_view key) const {
  OpenKey open;
  if (RegOpenKeyExW(HKEY_CURRENT_USER, section_path(section).c_str(), 0, KEY_QUERY_VALUE, open.out()) != ERROR_SUCCESS)
    return std::nullopt;
  const std::wstring name = wide(key);
  DWORD type = 0, bytes = 0;
  // The value may grow between asking its size and reading it.
  for (int attempt = 0; attempt < 3; ++attempt) {
    if (RegQueryValueExW(open.get(), name.c_str(), nullptr, &type, nullptr, &bytes) != ERROR_SUCCESS || type != REG_SZ)
      return std::nullopt;
    std::wstring text(bytes / sizeof(wchar_t) + 1, L'\0');
    DWORD read = static_cast<DWORD>(text.size() * sizeof(wchar_t));
    const LONG status =
        RegQueryValueExW(open.get(), name.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(text.data()), &read);
    if (status == ERROR_MORE_DATA) continue;
    if (status != ERROR_SUCCESS || type != REG_SZ) return std::nullopt;
    // Stored with or without its closing NUL: the text ends at the first one.
    text.resize(read / sizeof(wchar_t));
    if (const auto end = text.find(L'\0'); end != std::wstring::npos) text.resize(end);
    return local(text);
  }
  return std::nullopt;
}

void RegistrySettingsStore::write(std::string_view section, std::string_view key, std::string_view value) {
  OpenKey open;
  if (RegCreateKeyExW(HKEY_CURRENT_USER, section_path(section).c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                      KEY_SET_VALUE, nullptr, open.out(), nullptr) != ERROR_SUCCESS)
    return;
  const std::wstring text = wide(value);
  RegSetValueExW(open.get(), wide(key).c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()),
                 static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t)));
}

}  // namespace jukora
