#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The trial of one desktop player with the real Jukora, run by
# desktop_players.sh inside a private session bus as an ordinary user:
#
#   dbus-run-session -- one_player.sh PLAYER JUKORA WORK
#
# First the player alone (its bus names, what it offers, how OpenUri and its
# command line hand it a file), then Jukora configured for it as a user
# would: scoring the playing song, adding an unlisted one, a Random cycle
# with the player running and with it started by its command, and the
# export. Prints one result line per step.
player=$1 jukora=$2 work=$3
source "$(dirname "$0")/trial_env.sh"
source "$here/players.sh"
define_player "$player" || { result setup "unknown player"; exit 1; }
setup_desktop || { result setup "no desktop: $(tail -3 "$work"/*.log)"; exit 1; }

never=$'00:00 1/1/71'
songlist=$XDG_DATA_HOME/Jukora/Jukora/default.jk8
settings=$XDG_CONFIG_HOME/Jukora/Jukora.ini
music=$HOME/Music
jlog=$work/jukora.log
# Names that a URL has to carry whole: a space, "#", "%", and non-ASCII.
# Ogg Vorbis, as a music folder holds; one WAV besides, as some players
# name a file without tags differently.
long_songs=("a song #1.ogg" "100% pure.ogg" "Ünïcödé ♪ 3.ogg")
unlisted="not listed #5 %.ogg"
cycle_songs=("cyc #1.ogg" "cyc 2%.ogg" "cÿc 3.ogg")
wav_song="plain wave.wav"
for s in "${long_songs[@]}" "$unlisted" "$wav_song"; do make_song "$s" 40; done
for s in "${cycle_songs[@]}"; do make_song "$s" 4; done

result version "$(dpkg-query -W -f '${Version}' "$pkg" 2>/dev/null || echo "not installed")"
prepare
read -ra words <<<"$command"

# --- the player alone -------------------------------------------------------

start_player() {
  "${words[@]}" "$@" >>"$work/player.log" 2>&1 &
  player_pid=$!
}
# The first of its bus names, or nothing once DEADLINE seconds have passed.
bus_name() { "$probe" wait-name "$stem" "$1" | awk '!/^none/ {print $1}'; }
playing() { "$probe" wait-playing "$name" "$1" "${2:-8}"; }

start_player
after_start &
pids+=($!)
name=$(bus_name 40)
if [[ -z $name ]]; then
  result bus "no MPRIS name within 40 s: $("$probe" names); $(tail -c 300 "$work/player.log" | tr '\n' ' ')"
  exit 1
fi
result bus "$("$probe" wait-name "$stem" 1) (after start with no file)"
facts=$("$probe" facts "$name")
result facts "$facts"
identity=$(sed -n 's/.*Identity=\([^ ]*\).*/\1/p' <<<"$facts" | tr _ ' ')
# What the Preferences store: the part of the name before its first dot.
jukora_stem=${name#org.mpris.MediaPlayer2.}
jukora_stem=${jukora_stem%%.*}
# TRIAL_MPRIS_NAME tries what a user may type instead (a whole bus name).
jukora_stem=${TRIAL_MPRIS_NAME:-$jukora_stem}
[[ $jukora_stem == "${stem%%.*}" ]] || result facts "bus name $name is not of the expected stem $stem"

way=
song=$music/${long_songs[0]}
open_answer=$("$probe" open "$name" "$song")
if [[ $open_answer == ok ]]; then
  if seen=$(playing "$song"); then way=openuri; result openuri "works: $seen"
  else
    result openuri "accepted, plays nothing: $seen"
    # Some players take their first call while still starting: once more.
    song=$music/${long_songs[2]}
    if [[ $("$probe" open "$name" "$song") == ok ]] && seen=$(playing "$song"); then
      way=openuri; result openuri "a second OpenUri, 8 s later, works: $seen"
    else
      result openuri "a second OpenUri, 8 s later, plays nothing either: $seen"
    fi
  fi
else
  result openuri "$open_answer"
fi

# A second run of its command with a file: does the running copy play it?
song=$music/${long_songs[1]}
before=$(pgrep -c -u "$(id -u)" -f "^${words[0]}|/${words[0]##*/}( |$)")
timeout 20 "${words[@]}" "$song" >>"$work/player.log" 2>&1 &
second=$!
if seen=$(playing "$song" 10); then
  result cmdline "the running copy plays it: $seen"
  [[ -z $way ]] && way=cmdline
else
  result cmdline "the running copy does not play it: $seen"
fi
if kill -0 "$second" 2>/dev/null; then
  result cmdline "the second run still runs after 10 s (a second player?): names now $("$probe" names)"
  kill "$second" 2>/dev/null
else
  wait "$second"; result cmdline "the second run ended with status $?"
fi
after=$(pgrep -c -u "$(id -u)" -f "^${words[0]}|/${words[0]##*/}( |$)")
((after > before)) && result cmdline "$before process(es) of ${words[0]} before, $after after"

# Plays FILE whichever way works for this player.
play_file() {
  case $way in
    openuri) "$probe" open "$name" "$1" >/dev/null ;;
    cmdline) timeout 20 "${words[@]}" "$1" >>"$work/player.log" 2>&1 & ;;
    native) native "$1" ;;
  esac
  playing "$1" 10 >/dev/null
}
if [[ -z $way ]] && native "$music/${long_songs[2]}" && playing "$music/${long_songs[2]}" 10 >/dev/null; then
  way=native
fi
result way "${way:-none}: how the trial makes it play a file"
if [[ -n $way ]]; then
  if seen=$(play_file "$music/$wav_song" && playing "$music/$wav_song" 2); then result wav "named: $seen"
  else result wav "a WAV is not named: $("$probe" state "$name" | tr '\t' ' ')"; fi
fi
# Position while it plays: does it move with the clock?
IFS=$'\t' read -r st1 _ pos1 < <("$probe" state "$name")
sleep 1
IFS=$'\t' read -r st2 _ pos2 < <("$probe" state "$name")
if [[ -z $pos1 || -z $pos2 ]]; then result position "not reported (status $st1, $st2)"
else result position "$st1 $pos1 us, 1 s later $st2 $pos2 us"; fi
[[ -n $way ]] || result way "no way to make it play: the scoring steps are left out"

# --- Jukora ----------------------------------------------------------------

write_settings() {
  cat >"$settings" <<EOF
[main]
visible=true
[prefs]
add_on_plus=1
notifications=True
[player]
kind=mpris
mpris_name=$jukora_stem
mpris_identity=$identity
mpris_command=$command
EOF
}
# write_songlist SCORE SONG [SCORE SONG ...]: a fresh songlist, nothing played.
write_songlist() {
  : >"$songlist"
  while (($#)); do printf '"%s","%s","%s","%s"\r\n' "$music" "$2" "$1" "$never" >>"$songlist"; shift 2; done
}
row_of() { grep -aF "\"$music\",\"$1\"," "$songlist" | tr -d '\r'; }
score_is() { row_of "$1" | grep -qF ",\"$2\",\""; }
window_up() { xdotool search --onlyvisible --name "^Jukora" >/dev/null 2>&1; }
start_jukora() {
  "$jukora" >>"$jlog" 2>&1 &
  jukora_pid=$!
  wait_for 15 window_up || result jukora "no window within 15 s"
}
# Ends Jukora as a session's end would, and says how it went.
stop_jukora() {
  kill -TERM "$jukora_pid" 2>/dev/null
  local end=$((SECONDS + 5))
  while kill -0 "$jukora_pid" 2>/dev/null && ((SECONDS < end)); do sleep 0.1; done
  kill -KILL "$jukora_pid" 2>/dev/null
  wait "$jukora_pid" 2>/dev/null
  result jukora "ended by SIGTERM: status $?"
}
remote() { timeout 5 "$jukora" "--$1" >>"$jlog" 2>&1 || result "$1" "jukora --$1 failed or took over 5 s"; }
notices_since() { tail -n +"$(($1 + 1))" "$work/notices.log" | cut -f2- | tr '\t\n' ': ' | cut -c1-300; }
notice_count() { wc -l <"$work/notices.log"; }
# The songs played by the cycle as the player reported them, in order.
played_songs() { awk -F'\t' '$2 == "Playing" && $3 != prev {print $3; prev = $3}' "$1"; }
url_name() { /usr/bin/python3 -c 'import sys, urllib.parse; print(urllib.parse.unquote(sys.argv[1]).rsplit("/", 1)[-1])' "$1"; }

write_settings
if [[ -n $way ]]; then
  write_songlist 0 "${long_songs[0]}" 0 "${long_songs[1]}" 0 "${long_songs[2]}"
  start_jukora
  for s in "${long_songs[@]}" "$unlisted"; do
    if ! play_file "$music/$s"; then result score "$s: the player did not play it"; continue; fi
    url=$("$probe" state "$name" | cut -f2)
    n=$(notice_count)
    start=$SECONDS
    remote increment
    if [[ $s == "$unlisted" ]]; then
      # "Add song on  +" adds the song as it is; a second + scores it.
      if wait_for 8 row_of "$s" >/dev/null; then
        result add "$s: added after $((SECONDS - start)) s as $(row_of "$s" | cut -d, -f3-)"
      else
        result add "$s: FAILED, not added; notices $(notices_since "$n"), url $url"
      fi
    elif wait_for 8 score_is "$s" 1; then
      result score "$s: +1 written after $((SECONDS - start)) s (url $url)"
    else
      result score "$s: FAILED, row $(row_of "$s" || echo none), notices $(notices_since "$n"), url $url"
    fi
  done
  if score_is "${long_songs[0]}" 1; then
    play_file "$music/${long_songs[0]}"
    remote decrement
    wait_for 8 score_is "${long_songs[0]}" 0 && result score "decrement works" || result score "decrement FAILED"
  fi
  stop_jukora
fi

# A Random cycle started by --skip. Reports what the player played, in
# order, and which rows got a Last Played.
cycle() {
  local label=$1 watch=$work/watch-$1.log n b
  write_songlist 5 "${cycle_songs[0]}" 5 "${cycle_songs[1]}" 5 "${cycle_songs[2]}"
  start_jukora
  n=$(notice_count) b=$(bus_lines)
  : >"$watch"
  ( name=$("$probe" wait-name "$stem" 20 | awk '!/^none/ {print $1}') && "$probe" watch "$name" 30 "$watch" ) &
  local watcher=$!
  local start=$SECONDS
  remote skip
  wait "$watcher"
  local seen marked=() never_seen=()
  seen=$(played_songs "$watch" | while read -r u; do url_name "$u"; done | paste -sd'|')
  for s in "${cycle_songs[@]}"; do
    row_of "$s" | grep -qF "$never" && continue
    marked+=("$s")
    grep -qxF "$s" <(tr '|' '\n' <<<"$seen") || never_seen+=("$s")
  done
  result "$label" "played in 30 s: ${seen:-nothing}; rows marked played: ${#marked[@]}$(
    ((${#never_seen[@]})) && printf ', marked but never seen playing: %s' "${never_seen[*]}")"
  result "$label" "notices: $(notices_since "$n")"
  result "$label" "calls: $(bus_since "$b")"
  result "$label" "timeline: $(sed "s|file://$music/||" "$watch" | tr '\t\n' ' ;' | cut -c1-500)"
  stop_jukora
}

name=$("$probe" wait-name "$stem" 2 | awk '!/^none/ {print $1}')
if [[ -n $name ]]; then cycle cycle-running; fi
# Quit as a user would (a player killed may leave its lock behind: Quod
# Libet's next start then hangs on its control FIFO); killed only if it stays.
gone() { ! "$probe" wait-name "$stem" 0.2 >/dev/null; }
[[ -n $name ]] && "$probe" quit "$name" >/dev/null
if ! wait_for 10 gone; then
  result cycle-started "the player did not quit by MPRIS Quit within 10 s: killed"
  kill "$player_pid" 2>/dev/null
  pkill -u "$(id -u)" -f "^${words[0]}( |$)|/${words[0]##*/}( |$)" 2>/dev/null
  wait_for 10 gone || result cycle-started "the player did not end"
fi
cycle cycle-started

# The export: Countup, Playlist All, through the mode menu from the keyboard.
name=$("$probe" wait-name "$stem" 15 | awk '!/^none/ {print $1}')
write_songlist 9 "${long_songs[1]}" 5 "${long_songs[0]}" 1 "${long_songs[2]}"
start_jukora
n=$(notice_count) b=$(bus_lines)
window=$(xdotool search --onlyvisible --name "^Jukora" | head -1)
xdotool windowactivate --sync "$window" 2>/dev/null
xdotool key --window "$window" shift+F10
sleep 0.5
xdotool key Down Down Down Right Down Down Return
box=
wait_for 6 bash -c "xdotool search --onlyvisible --name '^Jukora Song Manager$' | grep -vx '$window' >/dev/null" &&
  box=$(xdotool search --onlyvisible --name '^Jukora Song Manager$' | grep -vx "$window" | head -1)
if [[ -n $box ]]; then
  xdotool windowactivate --sync "$box" key ctrl+c 2>/dev/null
  sleep 0.3
  result export "message box: $(xclip -o -selection clipboard 2>/dev/null | tr '\n' ' ' | cut -c1-300)"
  xdotool key --window "$box" Return
fi
if [[ -n $name ]] && seen=$(playing "$music/${long_songs[1]}" 10); then
  result export "the first song of the list plays: $seen"
else
  result export "the first song does not play: $("$probe" state "${name:-none}" | tr '\t' ' ')"
fi
result export "notices: $(notices_since "$n")"
result export "calls: $(bus_since "$b")"
[[ -n $name ]] && result export "after: $("$probe" facts "$name" | grep -o 'CanEditTracks=[^ ]*')"
import -window root "$work/export.png" 2>/dev/null
stop_jukora
