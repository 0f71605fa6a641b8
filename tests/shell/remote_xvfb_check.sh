#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The command-line remote against the real program under Xvfb, trayer and mpv.
#
#   dbus-run-session -- tests/shell/remote_xvfb_check.sh BUILD/src/shell/jukora
#
# Needs Xvfb, trayer, xdotool, mpv, sox and python3.
jukora=$(realpath "$1")
source "$(dirname "$0")/desktop_check_lib.sh"

make_song song.wav
make_song other.wav
start_xvfb 640x480
start_tray
start_mpv song.wav
write_settings "[main]" "visible=false"
printf '"%s","%s","%s","00:00 1/1/71"\r\n' "$work/music" song.wav 0 "$work/music" other.wav 5 >"$songlist"
remote_socket=$XDG_RUNTIME_DIR/jukora/remote-socket
log=$work/jukora.log

# remote COMMAND: a second process hands COMMAND over; it must be done,
# successfully, well within the deadline it has for a running copy.
remote() {
  local start=$SECONDS
  timeout 4 "$jukora" "--$1" >>"$log" 2>&1 || fail "jukora --$1 did not end with status 0 at once"
  ((SECONDS - start <= 2)) || fail "jukora --$1 took $((SECONDS - start)) s"
}

# raw BYTES-SCRIPT: a client of the socket written in Python; prints what came back.
raw() { /usr/bin/python3 -c "import socket,sys,time
s = socket.socket(socket.AF_UNIX); s.connect('$remote_socket'); s.settimeout(8)
$1
print(s.recv(100).decode(errors='replace'), end='')"; }

list_shown() { xdotool search --onlyvisible --name "^Jukora Song Manager" >/dev/null 2>&1; }
ignored_at_least() { (($(grep -c "Remote command ignored" "$log") >= $1)); }

"$jukora" --increment >>"$log" 2>&1 &
pids+=($!)
wait_for 15 score_is song.wav 1 || fail "--increment with no Jukora running did not start one that scores: $(cat "$songlist")"
echo "ok: with no Jukora running, --increment started one that raised the playing song's score"

remote increment
wait_for 5 score_is song.wav 2 || fail "--increment did not raise the score"
remote decrement
wait_for 5 score_is song.wav 1 || fail "--decrement did not lower the score"
"$jukora" --increment >>"$log" 2>&1 & first=$!
"$jukora" --increment >>"$log" 2>&1 & second=$!
wait "$first" && wait "$second" || fail "two --increment at once did not both end with status 0"
wait_for 5 score_is song.wav 3 || fail "two --increment at once did not raise the score by two: $(cat "$songlist")"
echo "ok: --increment and --decrement from a second process score the song; two at once lose nothing"
remote undo
wait_for 5 score_is song.wav 2 || fail "--undo did not take the last increment back: $(cat "$songlist")"
remote increment
wait_for 5 score_is song.wav 3 || fail "--increment after --undo did not raise the score"
echo "ok: --undo from a second process takes the last score step back"

# A client that says nothing holds no one up, and is let go.
raw "time.sleep(6)" >"$work/silent.out" &
silent=$!
[[ -z $(raw "s.sendall(b'rm -rf /\n')") ]] || fail "an unknown request got an answer"
remote increment
wait_for 5 score_is song.wav 4 || fail "--increment did not work beside a silent client"
wait "$silent"
[[ ! -s $work/silent.out ]] || fail "the silent client was answered"
wait_for 5 ignored_at_least 2 || fail "ignored requests were not logged: $(cat "$log")"
score_is song.wav 4 || fail "ignored requests changed the songlist"
echo "ok: garbage and a silent client were logged and ignored"

list_shown && fail "the window was shown before --show"
# Started again, jukora brings the running window up, as --show does, and
# says so on the terminal only.
timeout 4 "$jukora" >"$work/again.out" 2>"$work/again.err" || fail "a second jukora did not end with status 0 at once"
grep -qx "Jukora Song Manager is already running." "$work/again.err" || fail "a second jukora said: $(cat "$work/again.err")"
[[ ! -s $work/again.out ]] || fail "a second jukora wrote on standard output: $(cat "$work/again.out")"
wait_for 5 list_shown || fail "a second jukora did not show the running window"
xdotool search --onlyvisible --name "^Jukora$" >/dev/null 2>&1 && fail "a second jukora opened a message box"
echo "ok: a second jukora shows the running window and says so on standard error only"
remote show
list_shown || fail "--show hid the window"
echo "ok: --show shows the window and toggles nothing"

# Skip with no play cycle starts Random All: mpv is stopped and handed a song.
grep -q '00:00 1/1/71.*00:00 1/1/71' <(tr -d '\r\n' <"$songlist") || fail "a song was marked played too early"
remote skip
wait_for 10 eval '! grep -q "00:00 1/1/71.*00:00 1/1/71" <(tr -d "\r\n" <"$songlist")' ||
  fail "--skip did not start a play cycle that plays a song: $(cat "$songlist")"
echo "ok: --skip started Random All, which handed mpv a song"
