// SPDX-License-Identifier: GPL-3.0-or-later
#include "shell/qt_settings_store.h"

#include "shell/local_text.h"

namespace jukora {

namespace {

QString settings_key(std::string_view section, std::string_view key) {
  return QString::fromUtf8(section.data(), static_cast<qsizetype>(section.size())) + QLatin1Char('/') +
         QString::fromUtf8(key.data(), static_cast<qsizetype>(key.size()));
}

}  // namespace

#ifdef Q_OS_WIN
QtSettingsStore::QtSettingsStore() : settings_(QSettings::NativeFormat, QSettings::UserScope, "Jukora", "Jukora") {}
#else
QtSettingsStore::QtSettingsStore() : settings_(QSettings::IniFormat, QSettings::UserScope, "Jukora", "Jukora") {}
#endif

std::optional<std::string> QtSettingsStore::read(std::string_view section, std::string_view key) const {
  QVariant value = settings_.value(settings_key(section, key));
  if (!value.isValid()) return std::nullopt;
  // A hand-edited INI value with commas reads back as a list.
  if (value.typeId() == QMetaType::QStringList) return program_text(value.toStringList().join(", "));
  return program_text(value.toString());
}

void QtSettingsStore::write(std::string_view section, std::string_view key, std::string_view value) {
  // QSettings writes the file back shortly after, from the event loop, and on
  // exit; syncing on every key would rewrite it four times per resize step.
  settings_.setValue(settings_key(section, key), qt_text(value));
}

}  // namespace jukora
