// SPDX-License-Identifier: GPL-3.0-or-later
// Where a dialog opens: over the middle of its owner while the owner is on
// screen, else in the middle of the monitor the owner belongs to.
#pragma once

#include <windows.h>

namespace jukora {

void centre_on_owner(HWND dialog, HWND owner);

}  // namespace jukora
