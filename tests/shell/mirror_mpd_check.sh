#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Scores shared with MPD by the real program under Xvfb: a private MPD with a
# sticker file plays a song, `jukora --increment` and `--decrement` score it,
# and its rating sticker, read back with mpc, follows the score.
#
#   dbus-run-session -- tests/shell/mirror_mpd_check.sh BUILD/src/shell/jukora
#
# Needs Xvfb, mpd, mpc, sox and python3.
jukora=$(realpath "$1")
source "$(dirname "$0")/desktop_check_lib.sh"

make_song song.wav 5
make_song other.wav
mpd_socket=$work/mpd/socket
mkdir -p "$work/mpd/playlists"
cat >"$work/mpd/mpd.conf" <<EOF
music_directory "$work/music"
playlist_directory "$work/mpd/playlists"
db_file "$work/mpd/db"
sticker_file "$work/mpd/stickers"
bind_to_address "$mpd_socket"
zeroconf_enabled "no"
audio_output {
  type "null"
  name "null"
}
EOF
mpd --no-daemon --stderr "$work/mpd/mpd.conf" >"$work/mpd.log" 2>&1 &
pids+=($!)
mpc() { command mpc --host="$mpd_socket" "$@"; }
wait_for 15 eval 'mpc stats 2>/dev/null | grep -q "^Songs: *2$"' || fail "MPD did not come up: $(cat "$work/mpd.log")"
mpc repeat on >/dev/null
mpc add song.wav >/dev/null
mpc play >/dev/null
wait_for 10 eval 'mpc status | grep -q "^\[playing\]"' || fail "MPD does not play"

write_settings "[main]" "visible=false" "[player]" "kind=mpd" "mpd_host=$mpd_socket" "mpd_music_folder=$work/music"
printf 'share_mpd=True\n' >>"$settings"
printf '"%s","%s","%s","00:00 1/1/71"\r\n' "$work/music" song.wav 3 "$work/music" other.wav 9 >"$songlist"
start_xvfb 640x480
start_jukora "$jukora"
wait_for 15 test -S "$XDG_RUNTIME_DIR/jukora/remote-socket" || fail "Jukora did not start: $(cat "$work/jukora.log")"

sticker_is() { [[ $(mpc sticker "$1" get rating 2>/dev/null) == "rating=$2" ]]; }
timeout 5 "$jukora" --increment >>"$work/jukora.log" 2>&1 || fail "--increment was not handed over"
wait_for 10 score_is song.wav 4 || fail "--increment did not score the song MPD plays: $(cat "$songlist")"
wait_for 10 sticker_is song.wav 4 || fail "the rating sticker is not 4: $(mpc sticker song.wav get rating 2>&1)"
for _ in 1 2; do timeout 5 "$jukora" --decrement >>"$work/jukora.log" 2>&1 || fail "--decrement was not handed over"; done
wait_for 10 score_is song.wav 2 || fail "--decrement twice did not lower the score to 2: $(cat "$songlist")"
wait_for 10 sticker_is song.wav 2 || fail "the rating sticker did not follow: $(mpc sticker song.wav get rating 2>&1)"
sticker_is other.wav 9 && fail "a song whose score did not change got a sticker"
echo "ok: --increment and --decrement of the song MPD plays set its rating sticker to the new score"
