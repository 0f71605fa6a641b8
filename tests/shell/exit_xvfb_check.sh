#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Exit from the mode menu of the real program under Xvfb, with its own mpv
# playing: gone at once, the player plays on, what changed is saved; and
# the same for SIGTERM, SIGINT and SIGHUP, with exit status 0, also while a
# message box or the mode menu is open.
#
#   dbus-run-session -- tests/shell/exit_xvfb_check.sh BUILD/src/shell/jukora
#
# Needs Xvfb, xdotool, mpv, sox and python3.
jukora=$(realpath "$1")
source "$(dirname "$0")/desktop_check_lib.sh"

make_song song.wav
make_song other.wav
start_xvfb 800x600
write_settings "[main]" "visible=True"
printf '"%s","%s","%s","00:00 1/1/71"\r\n' "$work/music" song.wav 2 "$work/music" other.wav 1 >"$songlist"

start_jukora "$jukora"
await_window "^Jukora Song Manager"
xdotool windowfocus --sync "$window"

# The load leaves the last row current: Enter plays other.wav.
xdotool key Return
wait_for 10 mpv_says path "\"$work/music/other.wav\"" || fail "Enter did not start Jukora's mpv on the current row"
player=$(pgrep -f -- "--input-ipc-server=$mpv_socket") || fail "no mpv of Jukora's found"
pids+=($player)
grep -q '"other.wav","1","00:00 1/1/71"' "$songlist" || fail "direct play saved at once"

menu_is_open() { (($(xdotool search --onlyvisible --classname jukora 2>/dev/null | wc -l) > 1)); }
xdotool key Menu
wait_for 10 menu_is_open || fail "the Menu key did not open the mode menu"
xdotool key Up Return
start=$SECONDS
wait_for 3 eval '! kill -0 "$jukora_pid" 2>/dev/null' || fail "Exit did not end the program at once"
echo "ok: the Menu key opened the mode menu and Exit ended the program in $((SECONDS - start)) s"

grep other.wav "$songlist" | grep -q '00:00 1/1/71' && fail "Exit lost the direct play's Last Played"
grep -q '^fg_col2=' "$settings" || fail "Exit lost the column widths the first start sized: $(cat "$settings")"
mpv_says idle-active false || fail "the player stopped with Jukora"
# Any Jukora of this check's own profile, whatever else runs on the machine.
for process in /proc/[0-9]*; do
  [[ $(readlink "$process/exe" 2>/dev/null) == "$jukora" ]] &&
    tr '\0' '\n' <"$process/environ" 2>/dev/null | grep -qxF "XDG_RUNTIME_DIR=$XDG_RUNTIME_DIR" &&
    fail "Jukora keeps running as ${process#/proc/}"
done
echo "ok: Exit saved the Last Played and the widths; nothing of Jukora's runs on, the player plays on"

# SIGTERM (a logout, `kill`) ends it the way Exit does, with status 0.
sed -i '/^fg_col[0-9]*=/d' "$settings"
start_jukora "$jukora"
await_window "^Jukora Song Manager"
kill -TERM "$jukora_pid"
wait_for 3 eval '! kill -0 "$jukora_pid" 2>/dev/null' || fail "SIGTERM did not end the program at once"
status=0
wait "$jukora_pid" || status=$?
((status == 0)) || fail "SIGTERM ended the program with status $status: $(tail -n 5 "$work/jukora.log")"
grep -q '^fg_col2=' "$settings" || fail "SIGTERM lost the column widths: $(cat "$settings")"
mpv_says idle-active false || fail "the player stopped with Jukora"
echo "ok: SIGTERM saved the widths and ended the program with status 0; the player plays on"

# ended_by_signal SIGNAL WHAT: the signal ends the program at once, with status 0.
ended_by_signal() {
  kill "-$1" "$jukora_pid"
  wait_for 3 eval '! kill -0 "$jukora_pid" 2>/dev/null' || fail "$1 did not end the program $2"
  local status=0
  wait "$jukora_pid" || status=$?
  ((status == 0)) || fail "$1 $2 ended the program with status $status: $(tail -n 5 "$work/jukora.log")"
}

# A signal while a message box waits, at start-up: a FIFO named as the
# songlist is no songlist.
mkfifo "$work/pipe.jk8"
write_settings "[main]" "visible=True" "last_set=$work/pipe.jk8"
for signal in TERM INT HUP; do
  start_jukora "$jukora"
  await_window "^Jukora$"
  ended_by_signal "$signal" "while the start-up's message box was open"
done
[[ -p $work/pipe.jk8 ]] || fail "the FIFO was replaced"
grep -qx 'visible=True' "$settings" || fail "the window's visible flag was lost: $(cat "$settings")"
echo "ok: SIGTERM, SIGINT and SIGHUP each ended the program while the start-up's message box was open"

# And while the mode menu is open, after a direct play not saved yet.
write_settings "[main]" "visible=True"
start_jukora "$jukora"
await_window "^Jukora Song Manager"
xdotool windowfocus --sync "$window"
xdotool key ctrl+Home Return
wait_for 10 mpv_says path "\"$work/music/song.wav\"" || fail "Enter did not play song.wav"
xdotool key Menu
wait_for 10 menu_is_open || fail "the Menu key did not open the mode menu"
ended_by_signal TERM "while the mode menu was open"
grep song.wav "$songlist" | grep -q '00:00 1/1/71' && fail "SIGTERM lost the direct play's Last Played"
plays=$(/usr/bin/python3 -c 'import sqlite3, sys
print(sqlite3.connect(sys.argv[1]).execute("select count(*) from events where kind = ?", ("play",)).fetchone()[0])' \
  "$XDG_DATA_HOME/Jukora/Jukora/history.sqlite")
((plays >= 2)) || fail "the history holds $plays plays, not both direct plays"
echo "ok: SIGTERM ended the program while the mode menu was open, the play saved and in the history"
