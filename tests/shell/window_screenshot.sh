#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Starts the real program on a private X server with a small songlist and its
# window shown, and saves a screenshot of the screen.
#   bash tests/shell/window_screenshot.sh <build-dir> <out.png>
program="${1:?build folder}/src/shell/jukora"
out=$(realpath -m "${2:?output png}")
source "$(dirname "$0")/desktop_check_lib.sh"
[[ -x "$program" ]] || fail "no $program"

songs="$work/songs.jk8"
{
  n=0
  for song in "Morning Light" "Paper Boats" "Quiet Harbour" "Seven Bridges" "Long Way Home" "Glass River" \
              "Northern Line" "Slow Parade" "Open Window" "Lanterns" "Last Tram" "Blue Hour"; do
    n=$((n + 1))
    printf '"/home/listener/Music/The Examples/First Album","%02d - %s.mp3","%d","%s"\r\n' \
      "$n" "$song" $(((n * 7) % 13)) "2$((n % 4)):$((10 + n * 3)) 5/$n/26"
  done
} > "$songs"
write_settings "[main]" "visible=True" "last_set=$songs" "" "[window]" "app_left=600" "app_top=600" \
  "app_width=13260" "app_height=6600" "fg_col1=3600" "fg_col2=2700" "fg_col6=1400" ""

start_xvfb 1024x768
start_jukora "$program"
await_window "Jukora Song Manager - songs.jk8"
shot "$window" "$out"
