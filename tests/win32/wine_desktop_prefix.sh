#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Prepares the wine prefix the desktop checks share, once: unlike the
# behaviour tests' prefix it keeps wine's X11 driver, so that windows, the
# tray and the menus are real on the checks' X server.
#   wine_desktop_prefix.sh <prefix>
set -euo pipefail
export WINEPREFIX=$1 WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
[[ -f $WINEPREFIX/jukora-desktop-ready ]] && exit 0
rm -rf "$WINEPREFIX"
wine wineboot --init >/dev/null 2>&1
wineserver -w
touch "$WINEPREFIX/jukora-desktop-ready"
