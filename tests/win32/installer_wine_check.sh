#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The installer under wine: jukora-setup.exe /S installs for the user with
# its Start-menu entry and its Apps & Features entry; the installed program
# starts and shows its window; installing again while it runs ends it first;
# the uninstaller, run while it runs, ends it and removes the program, and
# leaves the songlist and the settings.
#   installer_wine_check.sh <jukora-setup.exe> <prefix>
source "$(dirname "$0")/wine_desktop_lib.sh"
setup=$1

start_xvfb 1024x768
use_prefix "$2"
write_songlist '"C:\music","one.mp3","5","00:00 1/1/71"'
installed=$users/AppData/Local/Programs/Jukora
uninstall_key='HKCU\Software\Microsoft\Windows\CurrentVersion\Uninstall\Jukora'

wine "$setup" /S || fail "the installer failed"
[[ -x $installed/jukora.exe && -f $installed/uninstall.exe ]] || fail "nothing in $installed"
[[ $(reg_value "$uninstall_key" DisplayName) == "Jukora Song Manager" ]] || fail "no Apps & Features entry"
ls "$users/AppData/Roaming/Microsoft/Windows/Start Menu/Programs/Jukora Song Manager.lnk" >/dev/null ||
  fail "no Start-menu entry"

wine "$installed/jukora.exe" --show >"$work/jukora.log" 2>&1 &
jukora_pid=$!
wait_for 30 window_shown || fail "the installed program shows no window"
wine "$setup" /S || fail "the upgrade failed"
wait_for 10 gone "$jukora_pid" || fail "the upgrade did not end the running Jukora"

wine "$installed/jukora.exe" --show >"$work/jukora.log" 2>&1 &
jukora_pid=$!
wait_for 30 window_shown || fail "the upgraded program shows no window"
wine reg add 'HKCU\Software\VB and VBA Program Settings\Jukora\prefs' /v time_block /d 12 /f >/dev/null

wine "$installed/uninstall.exe" /S || fail "the uninstaller failed"
# It hands itself over to a copy in a temporary folder and returns at once.
wait_for 30 test ! -e "$installed" || fail "the uninstaller left $installed: $(ls "$installed")"
wait_for 10 gone "$jukora_pid" || fail "the running Jukora was not ended"
[[ -z $(reg_value "$uninstall_key" DisplayName) ]] || fail "the Apps & Features entry stayed"
grep -q one.mp3 "$appdata/default.jk8" || fail "the songlist went with the program"
[[ $(reg_value 'HKCU\Software\VB and VBA Program Settings\Jukora\prefs' time_block) == 12 ]] ||
  fail "the settings went with the program"
echo "PASS: install for the user, start, upgrade and uninstall while running, songlist and settings kept"
