#!/usr/bin/env bash
# The tray on a real X server: under Xvfb with trayer as the tray host, the
# program shows its five tray icons (four when "mode_button" is "false"), and a
# left click on Increment, made with xdotool, raises the Score of the song mpv
# is playing in the saved songlist.
#
#   tests/shell/tray_xvfb_check.sh BUILD/src/shell/jukora [SCREENSHOT.png]
#
# Needs Xvfb, trayer, xdotool, mpv, sox (and ImageMagick for the screenshot).
# Every wait polls with a deadline. Exit status 0 when all checks pass.
set -euo pipefail

jukora=$(realpath "$1")
screenshot=${2:+$(realpath -m "$2")}
work=$(mktemp -d)
pids=()
cleanup() {
  for ((i = ${#pids[@]} - 1; i >= 0; i--)); do kill "${pids[i]}" 2>/dev/null || true; done
  wait 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT

fail() { echo "FAIL: $*" >&2; exit 1; }

# Polls `$@` every 0.1 s until it succeeds or `deadline` seconds have passed.
wait_for() {
  local deadline=$1; shift
  local end=$((SECONDS + deadline))
  until "$@"; do
    ((SECONDS < end)) || return 1
    sleep 0.1
  done
}

export XDG_CONFIG_HOME=$work/config XDG_DATA_HOME=$work/data XDG_RUNTIME_DIR=$work/run
mkdir -p "$XDG_CONFIG_HOME/Jukora" "$XDG_DATA_HOME/Jukora/Jukora" "$XDG_RUNTIME_DIR/jukora" "$work/music"
chmod 700 "$XDG_RUNTIME_DIR" "$XDG_RUNTIME_DIR/jukora"
songlist=$XDG_DATA_HOME/Jukora/Jukora/default.jk8
sox -n -r 44100 -c 2 "$work/music/song.wav" synth 1 sine 440 vol 0.1

exec {display_fd}<> <(:)
Xvfb -displayfd "$display_fd" -screen 0 640x200x24 -nolisten tcp >"$work/xvfb.log" 2>&1 &
pids+=($!)
read -r -t 10 -u "$display_fd" display || fail "Xvfb did not start"
export DISPLAY=:$display QT_QPA_PLATFORM=xcb
trayer --edge top --align right --widthtype pixel --width 200 --height 32 --transparent false \
  --tint 0x6080a0 >"$work/trayer.log" 2>&1 &
pids+=($!)
wait_for 10 xdotool search --classname trayer >/dev/null || fail "trayer did not start"

mpv --no-config --idle=no --loop-file=inf --ao=null --vo=null --no-terminal \
  --input-ipc-server="$XDG_RUNTIME_DIR/jukora/mpv-socket" "$work/music/song.wav" &
pids+=($!)
wait_for 10 test -S "$XDG_RUNTIME_DIR/jukora/mpv-socket" || fail "mpv did not open its socket"

# The tray icon windows of the running program, oldest first (icon order).
tray_windows() {
  local id
  for id in $(xdotool search --onlyvisible --classname jukora 2>/dev/null | sort -n); do
    eval "$(xdotool getwindowgeometry --shell "$id")"
    ((WIDTH <= 64 && HEIGHT <= 64)) && echo "$id"
  done
  return 0
}
count_is() { [[ $(tray_windows | wc -l) -eq $1 ]]; }

# Starts the program with "mode_button" set to $1 and waits for $2 icons.
start_jukora() {
  printf '[main]\nmode_button=%s\nvisible=false\n\n[prefs]\nwinamp_dir=%s\n' "$1" "$(dirname "$(command -v mpv)")" \
    >"$XDG_CONFIG_HOME/Jukora/Jukora.ini"
  printf '"%s","song.wav","0","00:00 1/1/71"\r\n' "$work/music" >"$songlist"
  "$jukora" >"$work/jukora.log" 2>&1 &
  jukora_pid=$!
  pids+=("$jukora_pid")
  wait_for 15 count_is "$2" || fail "expected $2 tray icons with mode_button=$1, found $(tray_windows | wc -l)"
  # Every icon must be there before the count settles: no fifth one late.
  sleep 0.5
  count_is "$2" || fail "the tray icons changed after start-up with mode_button=$1"
  echo "ok: $2 tray icons with mode_button=$1"
}

stop_jukora() {
  kill "$jukora_pid"
  wait_for 10 count_is 0 || fail "tray icons left behind"
}

start_jukora false 4
stop_jukora

start_jukora true 5
increment=$(tray_windows | sed -n 2p)
eval "$(xdotool getwindowgeometry --shell "$increment")"
xdotool mousemove $((X + WIDTH / 2)) $((Y + HEIGHT / 2)) click 1
score_is_one() { grep -q '"song.wav","1",' "$songlist"; }
wait_for 10 score_is_one || fail "the click on Increment did not raise the score: $(cat "$songlist")"
echo "ok: a click on Increment raised the score of the playing song"

if [[ -n $screenshot ]]; then
  xdotool mousemove $((X + WIDTH / 2)) $((Y + HEIGHT / 2))
  sleep 1.5  # the tooltip's own delay, only for the picture
  import -window root -crop 260x60+380+0 "$screenshot"
  echo "screenshot: $screenshot"
fi
stop_jukora
