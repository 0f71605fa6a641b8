#!/usr/bin/env bash
# The tray on a real X server: under Xvfb with trayer as the tray host, the
# program shows its five tray icons (four when "mode_button" is "false"), and a
# left click on Increment, made with xdotool, raises the Score of the song mpv
# is playing in the saved songlist. With --audacious the player is Audacious,
# reached over MPRIS on a session bus of the check's own.
#
#   tests/shell/tray_xvfb_check.sh [--audacious] BUILD/src/shell/jukora [SCREENSHOT.png]
#
# Needs Xvfb, trayer, xdotool, mpv, sox (and ImageMagick for the screenshot);
# with --audacious also audacious and dbus. Every wait polls with a deadline.
# Exit status 0 when all checks pass.
set -euo pipefail

player=mpv
if [[ ${1:-} == --audacious ]]; then
  player=audacious
  [[ -n ${JUKORA_CHECK_BUS:-} ]] || exec env JUKORA_CHECK_BUS=1 dbus-run-session -- bash "$0" "$@"
  shift
fi

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
# Audacious plays the song once: long enough for the whole check.
sox -n -r 44100 -c 2 "$work/music/song.wav" synth "$([[ $player == mpv ]] && echo 1 || echo 60)" sine 440 vol 0.1

exec {display_fd}<> <(:)
Xvfb -displayfd "$display_fd" -screen 0 400x300x24 -nolisten tcp >"$work/xvfb.log" 2>&1 &
pids+=($!)
read -r -t 10 -u "$display_fd" display || fail "Xvfb did not start"
export DISPLAY=:$display QT_QPA_PLATFORM=xcb
trayer --edge top --align left --widthtype pixel --width 240 --height 48 \
  >"$work/trayer.log" 2>&1 &
pids+=($!)
wait_for 10 xdotool search --classname trayer >/dev/null || fail "trayer did not start: $(cat "$work/trayer.log")"

audacious_plays() {
  dbus-send --session --print-reply --dest=org.mpris.MediaPlayer2.audacious /org/mpris/MediaPlayer2 \
    org.freedesktop.DBus.Properties.Get string:org.mpris.MediaPlayer2.Player string:PlaybackStatus 2>/dev/null |
    grep -q '"Playing"'
}

if [[ $player == mpv ]]; then
  mpv --no-config --idle=no --loop-file=inf --ao=null --vo=null --no-terminal \
    --input-ipc-server="$XDG_RUNTIME_DIR/jukora/mpv-socket" "$work/music/song.wav" &
  pids+=($!)
  wait_for 10 test -S "$XDG_RUNTIME_DIR/jukora/mpv-socket" || fail "mpv did not open its socket"
else
  # Audacious without a sound card: SDL's silent output keeps time.
  export HOME=$work/home SDL_AUDIODRIVER=dummy
  mkdir -p "$HOME/.config/audacious"
  outputs=/usr/lib/x86_64-linux-gnu/audacious/Output
  {
    echo "format 11"
    for output in alsa pulse_audio sdlout; do
      printf 'output %s\nstamp %s\nversion 48\nflags 0\nname %s\ndomain audacious-plugins\npriority 5\n' \
        "$outputs/$output.so" "$(stat -c %Y "$outputs/$output.so")" "$output"
      printf 'about 0\nconfig 0\nenabled %s\n' "$([[ $output == sdlout ]] && echo 1 || echo 0)"
    done
  } >"$HOME/.config/audacious/plugin-registry"
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
score_is() { grep -q "\"song.wav\",\"$1\"," "$songlist"; }
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
# then a click on Increment must raise the playing song's score, and once
# it has, the count must still hold (the program had long finished adding).
check_tray() {
  printf '[main]\nmode_button=%s\nvisible=false\n\n[prefs]\nwinamp_dir=%s\n' "$1" "$(dirname "$(command -v mpv)")" \
    >"$XDG_CONFIG_HOME/Jukora/Jukora.ini"
  [[ $player == mpv ]] || printf '\n[player]\nkind=mpris\nmpris_name=audacious\nmpris_identity=Audacious\n%s\n' \
    'mpris_command="audacious --headless"' >>"$XDG_CONFIG_HOME/Jukora/Jukora.ini"
  printf '"%s","song.wav","0","00:00 1/1/71"\r\n' "$work/music" >"$songlist"
  "$jukora" >>"$work/jukora.log" 2>&1 &
  jukora_pid=$!
  pids+=("$jukora_pid")
  wait_for 15 count_is "$2" || fail "expected $2 tray icons with mode_button=$1, found $(tray_windows | wc -l)"
  point_at_icon 2
  xdotool click 1
  wait_for 10 score_is 1 || fail "a click on Increment did not raise the score: $(cat "$songlist")"
  count_is "$2" || fail "the tray icons changed after start-up with mode_button=$1"
  echo "ok: $2 tray icons with mode_button=$1, and Increment raised the playing song's score"
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
