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
"$program" >>"$work/jukora.log" 2>&1 &
pids+=($!)
window=$(timeout 20 xdotool search --sync --onlyvisible --name "Jukora Song Manager - songs.jk8" | head -n 1)
[[ -n $window ]] || fail "the window did not come up"

# Wait until the picture stops changing: the window has painted.
previous=""
deadline=$((SECONDS + 20))
while ((SECONDS < deadline)); do
  import -window root "$work/shot.png"
  current=$(md5sum < "$work/shot.png")
  [[ "$current" == "$previous" ]] && break
  previous=$current
  sleep 0.3
done
# The whole screen is taken; the picture kept is the window with a border.
eval "$(xdotool getwindowgeometry --shell "$window")"
convert "$work/shot.png" -crop "$((WIDTH + 24))x$((HEIGHT + 24))+$((X - 12))+$((Y - 12))" +repage "$out"
echo "saved $out"
