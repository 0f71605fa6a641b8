// SPDX-License-Identifier: GPL-3.0-or-later
#include "shell/twips.h"

#include <QGuiApplication>
#include <QScreen>

namespace jukora {

TwipScale TwipScale::of(const QWidget& widget) {
  const QScreen* screen = widget.screen();
  if (!screen) screen = QGuiApplication::primaryScreen();
  if (!screen) return {96.0, 96.0};
  return {screen->logicalDotsPerInchX(), screen->logicalDotsPerInchY()};
}

}  // namespace jukora
