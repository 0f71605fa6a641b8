#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The real program under Xvfb with mpv playing one of its songs: the playing
# song over D-Bus and a command through it, a search typed into the window,
# Show Playing. Saves screenshots of the marked row and of the search.
#
#   dbus-run-session -- tests/shell/search_xvfb_check.sh BUILD/src/shell/jukora OUT-FOLDER
#
# Needs Xvfb, xdotool, ImageMagick, mpv, sox and gdbus.
jukora=$(realpath "$1")
out=$(realpath -m "${2:?output folder}")
source "$(dirname "$0")/desktop_check_lib.sh"
mkdir -p "$out"

: >"$songlist"
n=0
for folder in "Nordic Voices" "Café Tacvba Covers" "The Examples"; do
  mkdir -p "$work/music/$folder"
  for song in "Morning Light" "Paper Boats" "Quiet Harbour" "Seven Bridges"; do
    n=$((n + 1))
    make_song "$folder/$song.wav"
    printf '"%s","%s","%d","00:00 1/1/71"\r\n' "$work/music/$folder" "$song.wav" $(((n * 5) % 13)) >>"$songlist"
  done
done
playing="Café Tacvba Covers/Paper Boats.wav"
write_settings "[main]" "visible=True" "" "[window]" "app_left=600" "app_top=600" "app_width=13260" \
  "app_height=6600" "fg_col1=4800" "fg_col2=2400" "fg_col6=1400" ""

start_xvfb 1024x768
start_mpv "$playing"
start_jukora "$jukora"
await_window "^Jukora Song Manager"

jukora_bus() {
  gdbus call --session --dest org.jukora.Jukora --object-path /org/jukora/Jukora --method "$@" 2>&1
}
current_song_is() {
  [[ $(jukora_bus org.freedesktop.DBus.Properties.Get org.jukora.Jukora1 CurrentSong) == "(<'$1'>,)" ]]
}
wait_for 10 current_song_is "$work/music/$playing" ||
  fail "CurrentSong is not the song mpv plays: $(jukora_bus org.freedesktop.DBus.Properties.Get org.jukora.Jukora1 CurrentSong)"
echo "ok: CurrentSong on D-Bus is the song mpv plays"
[[ $(jukora_bus org.jukora.Jukora1.Increment) == "()" ]] || fail "Increment over D-Bus was not answered"
wait_for 5 score_is "Paper Boats.wav" 5 || fail "Increment over D-Bus did not raise the score: $(cat "$songlist")"
echo "ok: Increment over D-Bus raised the playing song's score"

# The cursor moved away, so that the marked row shows as it does unselected.
xdotool windowactivate --sync "$window" >/dev/null 2>&1 || xdotool windowfocus --sync "$window"
xdotool key --window "$window" ctrl+Home
shot "$window" "$out/playing.png"

before=$(md5sum <"$songlist")
xdotool key --window "$window" ctrl+f
xdotool type --window "$window" --delay 50 "cafe boats"
shot "$window" "$out/search.png"
xdotool key --window "$window" Escape ctrl+j
shot "$window" "$out/show-playing.png"
[[ $(md5sum <"$songlist") == "$before" ]] || fail "searching changed the songlist file"
kill -0 "$jukora_pid" || fail "Jukora ended: $(cat "$work/jukora.log")"
echo "ok: a search typed into the window and Show Playing left the songlist as it was; screenshots in $out"
