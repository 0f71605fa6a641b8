# SPDX-License-Identifier: GPL-3.0-or-later
# Sourced by one_player.sh: a fresh desktop for one player, run inside its
# own dbus-run-session as an ordinary user. A private X server with a window
# manager, a PulseAudio daemon whose only sink is a null sink, an ALSA
# default that plays into nothing, a stand-in notification service that logs
# every notice, and a fresh profile (HOME and the XDG folders) for Jukora and
# the player alike. Every process started here is ended on exit.
set -uo pipefail

here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
probe=$here/player_probe.py
pids=()

cleanup() {
  local i
  for ((i = ${#pids[@]} - 1; i >= 0; i--)); do kill "${pids[i]}" 2>/dev/null; done
  # What the player or Jukora started on their own (a second copy, a helper)
  # lives on under this user in this session: end what names this bus.
  end_session_processes
  wait 2>/dev/null
}
trap cleanup EXIT

# Ends every process of this user whose environment holds this session's bus
# address, except this shell and its parents.
end_session_processes() {
  local pid env
  for env in /proc/[0-9]*/environ; do
    pid=${env#/proc/}; pid=${pid%/environ}
    [[ $pid == "$$" || $pid == "$PPID" || ! -O $env ]] && continue
    grep -qzF "DBUS_SESSION_BUS_ADDRESS=$DBUS_SESSION_BUS_ADDRESS" "$env" 2>/dev/null || continue
    kill "$pid" 2>/dev/null
  done
}

# Polls `$@` every 0.1 s until it succeeds or DEADLINE seconds have passed.
wait_for() {
  local deadline=$1; shift
  local end=$((SECONDS + deadline))
  until "$@"; do
    ((SECONDS < end)) || return 1
    sleep 0.1
  done
}

# result STEP TEXT: one line of the trial's outcome.
result() { printf '%-10s %-14s %s\n' "$player" "$1" "$2"; }

setup_desktop() {
  export HOME=$work/home
  export XDG_CONFIG_HOME=$HOME/.config XDG_DATA_HOME=$HOME/.local/share XDG_CACHE_HOME=$HOME/.cache
  export XDG_RUNTIME_DIR=$work/run XDG_MUSIC_DIR=$HOME/Music
  mkdir -p "$XDG_CONFIG_HOME/Jukora" "$XDG_DATA_HOME/Jukora/Jukora" "$XDG_CACHE_HOME" "$XDG_RUNTIME_DIR" "$HOME/Music"
  chmod 700 "$XDG_RUNTIME_DIR"
  printf 'XDG_MUSIC_DIR="%s"\n' "$HOME/Music" >"$XDG_CONFIG_HOME/user-dirs.dirs"
  printf 'pcm.!default { type null }\nctl.!default { type hw card 0 }\n' >"$HOME/.asoundrc"
  export GSETTINGS_BACKEND=keyfile NO_AT_BRIDGE=1 QT_QPA_PLATFORM=xcb

  local display_fd display
  exec {display_fd}<> <(:)
  Xvfb -displayfd "$display_fd" -screen 0 1024x768x24 -nolisten tcp >"$work/xvfb.log" 2>&1 &
  pids+=($!)
  read -r -t 15 -u "$display_fd" display || { echo "Xvfb did not start" >&2; return 1; }
  export DISPLAY=:$display
  # Services the bus starts on demand (KDE's wallet and shortcuts, a
  # player's own helper) need the display and the profile too.
  dbus-update-activation-environment --all >/dev/null 2>&1
  openbox >"$work/openbox.log" 2>&1 &
  pids+=($!)

  pulseaudio --daemonize=no -n --use-pid-file=no --exit-idle-time=-1 --log-target=stderr \
    -L "module-null-sink sink_name=silent" -L module-native-protocol-unix >"$work/pulse.log" 2>&1 &
  pids+=($!)
  wait_for 10 test -S "$XDG_RUNTIME_DIR/pulse/native" || { echo "PulseAudio did not start" >&2; return 1; }

  "$probe" notifications "$work/notices.log" >"$work/notifyd.log" 2>&1 &
  pids+=($!)
  wait_for 10 notification_service_up || { echo "the notification stand-in did not start" >&2; return 1; }
  start_bus_monitor
}

# Every MPRIS call and every error on the bus, for a summary of who called what.
start_bus_monitor() {
  dbus-monitor --session "type='method_call',interface='org.mpris.MediaPlayer2.Player'" \
    "type='method_call',interface='org.mpris.MediaPlayer2.TrackList'" "type='error'" >"$work/bus.log" 2>&1 &
  pids+=($!)
}

# The calls and errors since line N of the bus log, one short item each.
bus_since() {
  tail -n +"$(($1 + 1))" "$work/bus.log" | awk '
    # A call repeated is one item with its count.
    function emit(item) { if (item == last) { ++times; return } out(); last = item; times = 1 }
    function out() { if (last != "") printf "%s%s ", last, (times > 1 ? " x" times : "") }
    function flush() { if (want != "") emit(want); want = "" }
    /^(method call|error|signal|method return)/ { flush() }
    /^method call/ { match($0, /member=[A-Za-z]+/); m = substr($0, RSTART + 7, RLENGTH - 7)
                     if (m ~ /^(OpenUri|Stop|Play|Pause|PlayPause|Next|AddTrack|RemoveTrack|GoTo|SetPosition)$/) want = m
                     next }
    # Errors from the bus daemon itself are players looking for desktop services.
    /^error/ && !/sender=org.freedesktop.DBus / { match($0, /error_name=[^ ]+/); want = "error " substr($0, RSTART + 11, RLENGTH - 11) }
    /^error/ { next }
    want != "" && /^ *string "/ { sub(/^ *string "/, ""); sub(/"$/, ""); n = split($0, p, "/")
                                   emit(want "(" substr(p[n], 1, 60) ")"); want = ""; next }
    END { flush(); out() }
  ' | cut -c1-600
}
bus_lines() { wc -l <"$work/bus.log"; }

notification_service_up() {
  dbus-send --session --print-reply --dest=org.freedesktop.DBus / org.freedesktop.DBus.NameHasOwner \
    string:org.freedesktop.Notifications 2>/dev/null | grep -q true
}

# make_song NAME SECONDS: a quiet tone in the music folder.
# A WAV is plain PCM: Quod Libet's tag reader refuses sox's default
# WAVE_FORMAT_EXTENSIBLE.
make_song() {
  local type=()
  [[ $1 == *.wav ]] && type=(-b 16 -t wavpcm)
  sox -q -n -r 44100 -c 2 "${type[@]}" "$HOME/Music/$1" synth "$2" sine 440 vol 0.05
}
