#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The tray under Xvfb with trayer: five icons (four with mode_button=false),
# and clicks on Increment and Decrement score the song mpv plays (with
# --audacious: Audacious over MPRIS, on a session bus of its own).
#
#   tests/shell/tray_xvfb_check.sh [--audacious] BUILD/src/shell/jukora [SCREENSHOT.png]
#
# Needs Xvfb, trayer, xdotool, mpv, sox, ImageMagick; audacious and dbus for --audacious.
set -euo pipefail

player=mpv
if [[ ${1:-} == --audacious ]]; then
  player=audacious
  [[ -n ${JUKORA_CHECK_BUS:-} ]] || exec env JUKORA_CHECK_BUS=1 dbus-run-session -- bash "$0" "$@"
  shift
fi

jukora=$(realpath "$1")
screenshot=${2:+$(realpath -m "$2")}
source "$(dirname "$0")/desktop_check_lib.sh"

start_xvfb 400x300
start_tray

audacious_plays() {
  dbus-send --session --print-reply --dest=org.mpris.MediaPlayer2.audacious /org/mpris/MediaPlayer2 \
    org.freedesktop.DBus.Properties.Get string:org.mpris.MediaPlayer2.Player string:PlaybackStatus 2>/dev/null |
    grep -q '"Playing"'
}

if [[ $player == mpv ]]; then
  make_song song.wav
  start_mpv song.wav
else
  # Audacious plays the song once: long enough for the whole check.
  make_song song.wav 60
  export HOME=$work/home SDL_AUDIODRIVER=dummy
  bash "$(dirname "$0")/../support/quiet_audacious.sh" "$HOME"
  audacious --headless "$work/music/song.wav" >"$work/audacious.log" 2>&1 &
  pids+=($!)
  wait_for 10 audacious_plays || fail "Audacious did not play: $(cat "$work/audacious.log")"
fi

# The program's visible windows, oldest first; tray icons are the small ones,
# in the order they were put into the tray.
windows() {
  local id
  for id in $(xdotool search --onlyvisible --classname jukora 2>/dev/null | sort -n); do
    eval "$(xdotool getwindowgeometry --shell "$id")"
    if (($1 == (WIDTH <= 64 && HEIGHT <= 64))); then echo "$id"; fi
  done
  return 0
}
tray_windows() { windows 1; }
count_is() { [[ $(tray_windows | wc -l) -eq $1 ]]; }
menu_is_open() { [[ -n $(windows 0) ]]; }
jukora_ended() { ! kill -0 "$jukora_pid" 2>/dev/null; }

# Moves the pointer onto the n-th tray icon: to its middle, or with "low" to
# its lower edge, so that a menu opened there leaves the icons in view.
point_at_icon() {
  eval "$(xdotool getwindowgeometry --shell "$(tray_windows | sed -n "$1p")")"
  local dy=$((HEIGHT / 2))
  [[ ${2:-} == low ]] && dy=$((HEIGHT - 2))
  xdotool mousemove $((X + WIDTH / 2)) $((Y + dy))
}

# Starts the program with "mode_button" set to $1 and waits for $2 icons;
# then clicks on Increment and Decrement must score the playing song, and
# once they have, the count must still hold (the program had long finished
# adding).
check_tray() {
  write_settings "[main]" "mode_button=$1" "visible=false"
  [[ $player == mpv ]] || printf '\n[player]\nkind=mpris\nmpris_name=audacious\nmpris_identity=Audacious\n%s\n' \
    'mpris_command="audacious --headless"' >>"$settings"
  printf '"%s","song.wav","0","00:00 1/1/71"\r\n' "$work/music" >"$songlist"
  start_jukora "$jukora"
  wait_for 15 count_is "$2" || fail "expected $2 tray icons with mode_button=$1, found $(tray_windows | wc -l)"
  local icon_score icon score
  for icon_score in 2:1 1:0 2:1; do
    icon=${icon_score%:*} score=${icon_score#*:}
    point_at_icon "$icon"
    xdotool click 1
    wait_for 10 score_is song.wav "$score" || fail "a click on icon $icon did not make the score $score: $(cat "$songlist")"
  done
  count_is "$2" || fail "the tray icons changed after start-up with mode_button=$1"
  echo "ok: $2 tray icons with mode_button=$1, Increment and Decrement scored the playing song"
}

# Ends the program through the mode menu of the n-th icon ("Exit" is its
# last item), with a screenshot of the open menu when a file is given.
exit_through_menu() {
  point_at_icon "$1" low
  xdotool click 3
  wait_for 10 menu_is_open || fail "a right click on icon $1 did not open the mode menu"
  if [[ -n ${2:-} ]]; then
    import -window root -crop 250x230+0+0 +repage "$2"
    echo "screenshot: $2"
  fi
  xdotool key Up Return
  wait_for 10 jukora_ended || fail "Exit did not end the program"
  count_is 0 || fail "tray icons left behind after Exit"
  echo "ok: the mode menu opened from icon $1, and Exit ended the program and took the icons"
}

if [[ $player == mpv ]]; then
  check_tray false 4
  exit_through_menu 3
fi

check_tray true 5
exit_through_menu 5 "$screenshot"
