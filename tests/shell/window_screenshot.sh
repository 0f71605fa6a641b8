#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Starts the real program on a private X server with a small songlist and its
# window shown, and saves a screenshot of the screen.
#   bash tests/shell/window_screenshot.sh <build-dir> <out.png>
set -euo pipefail

build=${1:?build folder}
out=${2:?output png}
program="$build/src/shell/jukora"
[[ -x "$program" ]] || { echo "no $program" >&2; exit 1; }

work=$(mktemp -d)
display=":$((90 + RANDOM % 100))"
server=""
app=""
cleanup() {
  [[ -n "$app" ]] && kill "$app" 2>/dev/null || true
  [[ -n "$server" ]] && kill "$server" 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT

export XDG_CONFIG_HOME="$work/config" XDG_DATA_HOME="$work/data" XDG_RUNTIME_DIR="$work/run"
mkdir -p "$XDG_CONFIG_HOME/Jukora" "$XDG_DATA_HOME" "$XDG_RUNTIME_DIR"
chmod 700 "$XDG_RUNTIME_DIR"

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

cat > "$XDG_CONFIG_HOME/Jukora/Jukora.ini" <<CONF
[main]
visible=True
last_set=$songs

[window]
app_left=600
app_top=600
app_width=13260
app_height=6600
fg_col1=3600
fg_col2=2700
fg_col6=1400

[prefs]
winamp_dir=/usr/bin
CONF

Xvfb "$display" -screen 0 1024x768x24 -nolisten tcp &
server=$!
deadline=$((SECONDS + 20))
until [[ -S "/tmp/.X11-unix/X${display#:}" ]]; do
  ((SECONDS < deadline)) || { echo "X server did not start" >&2; exit 1; }
  sleep 0.1
done

export DISPLAY="$display"
QT_QPA_PLATFORM=xcb "$program" &
app=$!
window=$(timeout 20 xdotool search --sync --onlyvisible --name "Jukora Song Manager - songs.jk8" | head -n 1)

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
