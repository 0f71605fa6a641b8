// The program's five images, drawn as vector art so they are sharp at every
// size and pixel ratio: a white disc carrying a black sign.
#pragma once

#include <QIcon>

namespace jukora {

QIcon minus_icon();
QIcon plus_icon();
QIcon arrow_icon();
QIcon page_icon();
QIcon mode_icon();

}  // namespace jukora
