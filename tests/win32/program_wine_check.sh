#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The real jukora.exe under wine on a private X server, with the project's
# fake Winamp playing a song: the window comes up with its caption; a click
# on "+ Increment" raises the selected song's score; a second jukora.exe
# --increment raises the playing song's through the running copy, a posted
# WM_HOTKEY once more; with "Learn scores from listening" on, --skip early
# in the song lowers it; the Show/Hide List icon in wine's tray hides and shows
# the window; Random > All hands the player a song; a move is kept at once;
# closing the window writes the settings into the registry.
#   program_wine_check.sh <jukora.exe> <fake_winamp.exe> <post_message.exe> <prefix>
source "$(dirname "$0")/wine_desktop_lib.sh"
jukora=$1 fake_winamp=$2 post_message=$3

start_xvfb 1024x768
use_prefix "$4"
install_fake_winamp "$fake_winamp"
mkdir -p "$WINEPREFIX/drive_c/music"
printf x >"$WINEPREFIX/drive_c/music/one.mp3"
printf x >"$WINEPREFIX/drive_c/music/two.mp3"
# two.mp3 scores lowest: the last row, which the load leaves selected.
write_songlist '"C:\music","one.mp3","5","00:00 1/1/71"' '"C:\music","two.mp3","3","00:00 1/1/71"'

# Started bare, the fake player is at the second song of its playlist:
# C:\music\two.mp3. From its folder: a quoted path on its command line would
# be taken for a song.
(cd "$winamp_dir" && exec wine winamp.exe) >"$work/winamp.log" 2>&1 &
wait_for 20 test -s "$winamp_dir/winamp.exe.log" || fail "the fake Winamp did not start"

wine "$jukora" --show >"$work/jukora.log" 2>&1 &
jukora_pid=$!
wait_for 30 window_shown || fail "no window captioned 'Jukora Song Manager - default.jk8'"
window=$(main_window)
[[ $(xdotool getwindowname "$window") == "Jukora Song Manager - default.jk8" ]] ||
  fail "caption: $(xdotool getwindowname "$window")"

# "+ Increment" sits at 360,120 twips, 1095 x 375: at 96 DPI 24,8 and 73 x 25.
click_in "$window" 60 20
wait_for 10 score_is two.mp3 4 || fail "+ Increment did not raise two.mp3 to 4: $(cat "$appdata/default.jk8")"

wine "$jukora" --increment >"$work/second.log" 2>&1
wait_for 10 score_is two.mp3 5 || fail "--increment did not reach the running copy: $(cat "$appdata/default.jk8")"

wine "$post_message" JukoraForm1 786 1 || fail "no window of class JukoraForm1 to post WM_HOTKEY to"
wait_for 10 score_is two.mp3 6 || fail "WM_HOTKEY Increment did not score: $(cat "$appdata/default.jk8")"

# Listening: the player 7 s into the 20 s song, Jukora's Skip (a Stop on
# Winamp) leaves it before its half, and it loses 1. Off again after.
key='HKCU\Software\VB and VBA Program Settings\Jukora'
wine reg add "$key\prefs" /v listen_scores /d True /f >/dev/null 2>&1
printf '7000 20' >"$winamp_dir/winamp.exe.time"
wine "$jukora" --skip >"$work/skip.log" 2>&1
wait_for 10 score_is two.mp3 5 || fail "a skip at 7 s of 20 did not lower two.mp3 to 5: $(cat "$appdata/default.jk8")"
wine reg add "$key\prefs" /v listen_scores /d False /f >/dev/null 2>&1
rm "$winamp_dir/winamp.exe.time"

# Wine shows the icons in its own tray window, 20 pixels each in the order
# added: Show/Hide List is the fourth.
tray=$(xdotool search --name '^Wine System Tray$' | head -1)
[[ -n $tray ]] || fail "no Wine System Tray window"
click_in "$tray" 70 10
wait_for 10 map_is "$window" IsUnMapped ||
  fail "the Show/Hide List icon did not hide the window"
click_in "$tray" 70 10
wait_for 10 map_is "$window" IsViewable ||
  fail "the Show/Hide List icon did not show the window again"

# The mode menu from the Mode icon: Stop Winamp, then Random > All. "r" opens
# Random, the one item that begins with it, and Left leaves it highlighted:
# Stop Winamp is six below. The cycle hands the stopped player a song.
menu_open() {
  local window
  for window in $(xdotool search --class 'jukora.exe' 2>/dev/null); do
    xwininfo -id "$window" | grep -q 'Override Redirect State: yes' &&
      xwininfo -id "$window" | grep -q 'Map State: IsViewable' && return 0
  done
  return 1
}
open_menu_and_type() {
  click_in "$tray" 90 10
  wait_for 10 menu_open || fail "the mode menu did not open"
  xdotool key --delay 100 "$@"
  wait_for 10 bash -c "$(declare -f menu_open); ! menu_open" || fail "the mode menu did not close"
}
open_menu_and_type r Left Down Down Down Down Down Down Return
: >"$winamp_dir/winamp.exe.log"
open_menu_and_type r a
wait_for 20 grep -q 'C:\\music\\' "$winamp_dir/winamp.exe.log" ||
  fail "Random > All handed the player nothing: $(cat "$winamp_dir/winamp.exe.log")"

# Moved without a change of size, the window keeps its new place at once:
# 100 pixels further right at 96 DPI are 1500 twips more.
app_left_is() { [[ $(reg_value "$key\\window" app_left) == "$1" ]]; }
left=$(reg_value "$key\\window" app_left)
[[ $left =~ ^-?[0-9]+$ ]] || fail "window\\app_left before the move: '$left'"
eval "$(xdotool getwindowgeometry --shell "$window")"
xdotool windowmove "$window" $((X + 100)) "$Y"
wait_for 10 app_left_is $((left + 1500)) ||
  fail "moved 100 pixels right, window\\app_left went from $left to '$(reg_value "$key\\window" app_left)'"

# Closing the window saves its state: the close box's command, as the
# taskbar's Close window sends it too (WM_SYSCOMMAND, SC_CLOSE).
wine "$post_message" JukoraForm1 274 61536 || fail "no window of class JukoraForm1 to close"
wait_for 20 gone "$jukora_pid" || fail "closing the window did not end the program"
[[ $(reg_value "$key\\main" visible) == True ]] || fail "main\\visible: '$(reg_value "$key\\main" visible)'"
for name in app_top app_left app_height app_width fg_col0 fg_col6; do
  [[ $(reg_value "$key\\window" "$name") =~ ^-?[0-9]+(\.[0-9]+)?$ ]] ||
    fail "window\\$name: '$(reg_value "$key\\window" "$name")'"
done
echo "PASS: window, button, --increment, WM_HOTKEY, a listening skip, tray, Random > All and the saved settings"
