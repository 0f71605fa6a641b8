# SPDX-License-Identifier: GPL-3.0-or-later
# Sourced by the checks of the real program on a private X server. KEEP_WORK=1
# keeps the work folder (logs, songlist, settings) for a look after a failure.
set -euo pipefail

work=$(mktemp -d)
pids=()
cleanup() {
  for ((i = ${#pids[@]} - 1; i >= 0; i--)); do kill "${pids[i]}" 2>/dev/null || true; done
  # Also a player Jukora started on its own, which names the work folder.
  pkill -f -- "$work/" 2>/dev/null || true
  wait 2>/dev/null || true
  [[ -n ${KEEP_WORK:-} ]] && { echo "kept $work" >&2; return; }
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
mkdir -p "$XDG_CONFIG_HOME/Jukora" "$XDG_CONFIG_HOME/mpv" "$XDG_DATA_HOME/Jukora/Jukora" "$XDG_RUNTIME_DIR/jukora" \
  "$work/music"
chmod 700 "$XDG_RUNTIME_DIR" "$XDG_RUNTIME_DIR/jukora"
# No sound device here; Jukora's own mpv reads this too.
printf 'ao=null\nvo=null\n' >"$XDG_CONFIG_HOME/mpv/mpv.conf"
songlist=$XDG_DATA_HOME/Jukora/Jukora/default.jk8
settings=$XDG_CONFIG_HOME/Jukora/Jukora.ini
mpv_socket=$XDG_RUNTIME_DIR/jukora/mpv-socket

# make_song NAME [SECONDS]: a tone in the music folder, one second long by default.
make_song() { sox -n -r 44100 -c 2 "$work/music/$1" synth "${2:-1}" sine 440 vol 0.1; }

# start_xvfb WxH: a private X server as $DISPLAY.
start_xvfb() {
  local display_fd display
  exec {display_fd}<> <(:)
  Xvfb -displayfd "$display_fd" -screen 0 "$1x24" -nolisten tcp >"$work/xvfb.log" 2>&1 &
  pids+=($!)
  read -r -t 10 -u "$display_fd" display || fail "Xvfb did not start"
  export DISPLAY=:$display QT_QPA_PLATFORM=xcb
}

# start_tray: trayer as the XEmbed tray host.
start_tray() {
  trayer --edge top --align left --widthtype pixel --width 240 --height 48 >"$work/trayer.log" 2>&1 &
  pids+=($!)
  wait_for 10 xdotool search --classname trayer >/dev/null || fail "trayer did not start: $(cat "$work/trayer.log")"
}

# start_mpv SONG: an mpv looping SONG on Jukora's socket, as if Jukora had started it.
start_mpv() {
  mpv --no-config --idle=no --loop-file=inf --ao=null --vo=null --no-terminal \
    --input-ipc-server="$mpv_socket" "$work/music/$1" &
  pids+=($!)
  wait_for 10 test -S "$mpv_socket" || fail "mpv did not open its socket"
}

# mpv_says PROPERTY VALUE: mpv on Jukora's socket answers VALUE for PROPERTY.
mpv_says() {
  /usr/bin/python3 - "$mpv_socket" "$1" "$2" <<'PY'
import json, socket, sys
path, prop, want = sys.argv[1:]
s = socket.socket(socket.AF_UNIX)
s.settimeout(2)
try:
    s.connect(path)
    s.sendall(json.dumps({"command": ["get_property", prop]}).encode() + b"\n")
    for line in s.makefile():
        reply = json.loads(line)
        if "error" in reply:
            sys.exit(0 if json.dumps(reply.get("data")) == want else 1)
except OSError:
    pass
sys.exit(1)
PY
}

# write_settings LINES...: Jukora.ini holding these lines, the player folder
# set to the one that holds mpv.
write_settings() {
  printf '%s\n' "$@" "[prefs]" "winamp_dir=$(dirname "$(command -v mpv)")" >"$settings"
}

# score_is FILE N: the song's Score in the saved songlist.
score_is() { grep -q "\"$1\",\"$2\"," "$songlist"; }

# start_jukora COMMAND...: the program in the background, its output in the
# log; its pid in $jukora_pid.
start_jukora() {
  "$@" >>"$work/jukora.log" 2>&1 &
  jukora_pid=$!
  pids+=("$jukora_pid")
}

# await_window TITLE: $window, the first shown window whose title matches TITLE.
await_window() {
  window=$(timeout 20 xdotool search --sync --onlyvisible --name "$1" | head -n 1) || true
  [[ -n $window ]] || fail "no window \"$1\" came up: $(cat "$work/jukora.log")"
}

# shot WINDOW OUT: the window with a margin, once the screen has stopped
# changing (the window has painted).
shot() {
  local previous="" current deadline=$((SECONDS + 20))
  while ((SECONDS < deadline)); do
    import -window root "$work/shot.png"
    current=$(md5sum <"$work/shot.png")
    [[ $current == "$previous" ]] && break
    previous=$current
    sleep 0.3
  done
  eval "$(xdotool getwindowgeometry --shell "$1")"
  convert "$work/shot.png" -crop "$((WIDTH + 24))x$((HEIGHT + 24))+$((X > 12 ? X - 12 : 0))+$((Y > 12 ? Y - 12 : 0))" \
    +repage "$2"
  echo "saved $2"
}
