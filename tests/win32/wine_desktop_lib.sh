# SPDX-License-Identifier: GPL-3.0-or-later
# Sourced by the checks of the Windows program under wine on a private X
# server: a work folder, the X server, the wine prefix (made by
# wine_desktop_prefix.sh, with wine's X11 driver) and waits that poll with a
# deadline. KEEP_WORK=1 keeps the work folder for a look after a failure.
set -euo pipefail

work=$(mktemp -d)
pids=()
cleanup() {
  [[ -n ${WINEPREFIX:-} ]] && wineserver -k >/dev/null 2>&1 || true
  for ((i = ${#pids[@]} - 1; i >= 0; i--)); do kill "${pids[i]}" 2>/dev/null || true; done
  wait 2>/dev/null || true
  [[ -n ${KEEP_WORK:-} ]] && { echo "kept $work" >&2; return; }
  rm -rf "$work"
}
trap cleanup EXIT

fail() {
  echo "FAIL: $*" >&2
  [[ -n ${DISPLAY:-} ]] && import -window root "$work/failure.png" 2>/dev/null && echo "screen: $work/failure.png" >&2
  exit 1
}

# Polls `$@` every 0.1 s until it succeeds or `deadline` seconds have passed.
wait_for() {
  local deadline=$1; shift
  local end=$((SECONDS + deadline))
  until "$@"; do
    ((SECONDS < end)) || return 1
    sleep 0.1
  done
}

# start_xvfb WxH: a private X server as $DISPLAY, picked by the server itself.
start_xvfb() {
  local display_fd display
  exec {display_fd}<> <(:)
  Xvfb -displayfd "$display_fd" -screen 0 "$1x24" -nolisten tcp >"$work/xvfb.log" 2>&1 &
  pids+=($!)
  read -r -t 10 -u "$display_fd" display || fail "Xvfb did not start"
  export DISPLAY=:$display
}

# use_prefix DIR: the prepared prefix, its Jukora state (settings, songlists,
# an installed copy) cleared, a wineserver of its own kept running.
use_prefix() {
  export WINEPREFIX=$1 WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
  [[ -f $WINEPREFIX/jukora-desktop-ready ]] || fail "no prepared wine prefix in $WINEPREFIX"
  wineserver -k >/dev/null 2>&1 || true
  wineserver -w
  users=$(echo "$WINEPREFIX"/drive_c/users/*/AppData/Roaming | cut -d' ' -f1)
  users=${users%/AppData/Roaming}
  appdata=$users/AppData/Roaming/Jukora
  rm -rf "$appdata" "$users/AppData/Local/Programs/Jukora" "$WINEPREFIX/drive_c/Program Files/Winamp" \
    "$WINEPREFIX/drive_c/music"
  wineserver -p
  wine reg delete 'HKCU\Software\VB and VBA Program Settings\Jukora' /f >/dev/null 2>&1 || true
  wine reg delete 'HKCU\Software\Microsoft\Windows\CurrentVersion\Uninstall\Jukora' /f >/dev/null 2>&1 || true
}

# The fake player as Winamp in its usual folder.
install_fake_winamp() {
  winamp_dir="$WINEPREFIX/drive_c/Program Files/Winamp"
  mkdir -p "$winamp_dir"
  cp "$1" "$winamp_dir/winamp.exe"
}

# write_songlist LINE...: the songlist Jukora opens, each line a record.
write_songlist() {
  mkdir -p "$appdata"
  printf '%s\r\n' "$@" >"$appdata/default.jk8"
}

# score_is FILE SCORE: the saved songlist gives FILE that score.
score_is() { grep -qF ",\"$1\",\"$2\"," "$appdata/default.jk8" 2>/dev/null; }

# The main window, by its caption, while it is shown.
main_window() { xdotool search --onlyvisible --name '^Jukora Song Manager - ' 2>/dev/null | head -1; }
window_shown() { [[ -n $(main_window) ]]; }
# map_is WINDOW STATE: the X window is IsViewable, IsUnMapped ... now.
map_is() { [[ $(xwininfo -id "$1" 2>/dev/null | awk '/Map State:/ { print $3 }') == "$2" ]]; }

# A Windows program started under wine in the background runs as the process
# `wine` started; gone() tells when it has ended.
gone() { ! kill -0 "$1" 2>/dev/null; }

# click_in WINDOW X Y: a real click at X,Y inside WINDOW's area.
click_in() {
  local x y
  eval "$(xdotool getwindowgeometry --shell "$1")"
  x=$((X + $2)) y=$((Y + $3))
  xdotool mousemove "$x" "$y" sleep 0.2 click 1
}

# reg_value KEY NAME: the text of a registry value, empty when absent.
reg_value() {
  wine reg query "$1" /v "$2" 2>/dev/null | tr -d '\r' | awk -v name="$2" '$1 == name { $1 = ""; $2 = ""; sub(/^ +/, ""); print }'
}
