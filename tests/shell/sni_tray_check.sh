#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The tray as StatusNotifierItems, with sni_watcher.py as the watcher: a
# panel's Activate and ContextMenu must return at once, then act.
#
#   dbus-run-session -- tests/shell/sni_tray_check.sh BUILD/src/shell/jukora
#
# Needs Xvfb, xdotool, mpv, sox, gdbus and python3 with dbus and gi.
jukora=$(realpath "$1")
here=$(dirname "$(realpath "$0")")
source "$here/desktop_check_lib.sh"
[[ -n ${DBUS_SESSION_BUS_ADDRESS:-} ]] || fail "run me inside dbus-run-session"

make_song song.wav
start_xvfb 640x480
start_mpv song.wav
/usr/bin/python3 "$here/sni_watcher.py" >"$work/items" 2>"$work/watcher.log" &
pids+=($!)
wait_for 10 gdbus introspect --session --dest org.kde.StatusNotifierWatcher \
  --object-path /StatusNotifierWatcher >/dev/null 2>&1 || fail "the watcher did not come up: $(cat "$work/watcher.log")"

write_settings "[main]" "visible=false"
printf '"%s","song.wav","0","00:00 1/1/71"\r\n' "$work/music" >"$songlist"
start_jukora "$jukora"
items_are() { [[ $(wc -l <"$work/items") -eq $1 ]]; }
wait_for 15 items_are 5 || fail "expected 5 items, got: $(cat "$work/items")"

# item TOOLTIP: the bus name of the item whose tooltip title is TOOLTIP.
item() {
  local name
  while read -r name; do
    gdbus call --session --dest "$name" --object-path /StatusNotifierItem \
      --method org.freedesktop.DBus.Properties.Get org.kde.StatusNotifierItem ToolTip |
      grep -q "'$1'" && { echo "$name"; return; }
  done <"$work/items"
  fail "no item with the tooltip $1"
}

# call TOOLTIP METHOD: a panel's call, which must be answered within a second.
call() {
  local start=$(date +%s%N)
  gdbus call --session --timeout 5 --dest "$(item "$1")" --object-path /StatusNotifierItem \
    --method "org.kde.StatusNotifierItem.$2" 10 10 >/dev/null || fail "$2 on $1 failed"
  local took=$((($(date +%s%N) - start) / 1000000))
  ((took < 1000)) || fail "$2 on $1 was answered after $took ms"
  echo "ok: $2 on $1 answered after $took ms"
}

menu_is_open() { [[ -n $(xdotool search --onlyvisible --classname jukora 2>/dev/null) ]]; }
close_menu() {
  xdotool key Escape
  wait_for 5 eval '! menu_is_open' || fail "the mode menu did not close"
}

call Increment Activate
wait_for 10 score_is song.wav 1 || fail "Activate on Increment did not raise the score: $(cat "$songlist")"
for tooltip_method in Mode:Activate Decrement:ContextMenu Skip:ContextMenu; do
  call "${tooltip_method%:*}" "${tooltip_method#*:}"
  wait_for 10 menu_is_open || fail "${tooltip_method#*:} on ${tooltip_method%:*} did not open the mode menu"
  close_menu
done
call Decrement Activate
wait_for 10 score_is song.wav 0 || fail "Activate on Decrement did not lower the score"
echo "ok: every call returned at once and then acted"
