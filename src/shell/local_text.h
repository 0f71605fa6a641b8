// SPDX-License-Identifier: GPL-3.0-or-later
// Text crossing between Qt and the program. The program holds paths and names
// as local 8-bit text: the ANSI code page on Windows, where songlists and the
// player's playlist are written in it, and UTF-8 on Linux.
#pragma once

#include <QByteArray>
#include <QString>
#include <string>
#include <string_view>

namespace jukora {

inline QString qt_text(std::string_view text) {
  return QString::fromLocal8Bit(text.data(), static_cast<qsizetype>(text.size()));
}

inline std::string program_text(const QString& text) {
  const QByteArray bytes = text.toLocal8Bit();
  return std::string(bytes.constData(), static_cast<std::size_t>(bytes.size()));
}

}  // namespace jukora
