#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# `jukora --import-ratings` of the real program: with no Jukora running it is
# done without a display; with one running under Xvfb, that copy carries it
# out and the command prints its answer.
#
#   dbus-run-session -- tests/shell/import_xvfb_check.sh BUILD/src/shell/jukora
#
# Needs Xvfb, sox and python3 with mutagen.
jukora=$(realpath "$1")
source "$(dirname "$0")/desktop_check_lib.sh"

for song in listed.wav fresh.wav new.wav other.wav; do make_song "$song"; done
mkdir -p "$work/music/tagged"
make_song tagged/one.flac
make_song tagged/two.ogg
# Tags as another player writes them.
/usr/bin/python3 - "$work/music/tagged" <<'PY'
import sys, mutagen
for name, key, value in (("one.flac", "FMPS_RATING", "0.8"), ("two.ogg", "RATING", "3")):
    song = mutagen.File(f"{sys.argv[1]}/{name}")
    song[key] = value
    song.save()
PY
write_settings "[main]" "visible=false"
printf '"%s","%s","%s","%s"\r\n' "$work/music" listed.wav 4 "12:00 5/4/24" "$work/music" fresh.wav 0 "00:00 1/1/71" \
  >"$songlist"
# rhythmdb FILE SONG STARS...: a Rhythmbox database rating each SONG.
rhythmdb() {
  local file=$1; shift
  {
    echo '<?xml version="1.0" standalone="yes"?><rhythmdb version="2.0">'
    while (($#)); do
      echo "<entry type=\"song\"><location>file://$work/music/$1</location><rating>$2</rating></entry>"
      shift 2
    done
    echo '</rhythmdb>'
  } >"$work/$file"
}
rhythmdb rhythmdb.xml fresh.wav 4 new.wav 3 listed.wav 5 gone.wav 2
rhythmdb later.xml other.wav 2
printf '<?xml version="1.0"?><!DOCTYPE r [<!ENTITY a "aaaaaaaa"><!ENTITY b "&a;&a;&a;&a;">]><rhythmdb>&b;</rhythmdb>' \
  >"$work/bomb.xml"
out=$work/out

# run_import ARGUMENTS...: jukora run in the folder $in (the work folder),
# its output in $out; fails unless it ends with the status $want (0).
run_import() {
  local status=0
  (cd "${in:-$work}" && timeout 20 "$jukora" --import-ratings "$@") >"$out" 2>&1 || status=$?
  [[ $status == "${want:-0}" ]] || fail "jukora --import-ratings $* ended with $status: $(cat "$out")"
}
said() { grep -q -- "$1" "$out" || fail "jukora --import-ratings did not say \"$1\": $(cat "$out")"; }

cp "$songlist" "$work/before"
(
  unset DISPLAY WAYLAND_DISPLAY
  in=$work/music run_import ../rhythmdb.xml --dry-run
  said "+ $work/music/new.wav: new, score 6"
  said "Would import 2 ratings: 1 added, 1 updated, 2 skipped (1 missing file, 1 not chosen)."
  cmp -s "$songlist" "$work/before" || fail "the dry run changed the songlist"
  for bad in nothing.xml bomb.xml; do
    want=1 run_import "$bad"
    said "$bad"
  done
  cmp -s "$songlist" "$work/before" || fail "a source that could not be read changed the songlist"
  in=$work/music run_import ../rhythmdb.xml
  said "Imported 2 ratings: 1 added, 1 updated"
)
score_is new.wav 6 && score_is fresh.wav 8 && score_is listed.wav 4 || fail "the import was not saved: $(cat "$songlist")"
echo "ok: with no Jukora running, a relative path was imported without a display; a dry run and bad sources changed nothing"

start_xvfb 800x600
(cd / && exec "$jukora") >>"$work/jukora.log" 2>&1 &
pids+=($!)
wait_for 15 test -S "$XDG_RUNTIME_DIR/jukora/remote-socket" || fail "Jukora did not start: $(cat "$work/jukora.log")"
cp "$songlist" "$work/before"
run_import music/tagged --dry-run
said "Would import 2 ratings: 2 added, 0 updated"
cmp -s "$songlist" "$work/before" || fail "the running copy's dry run changed the songlist"
run_import music/tagged
said "Imported 2 ratings: 2 added, 0 updated"
score_is one.flac 8 && score_is two.ogg 6 || fail "the running copy did not import the tags: $(cat "$songlist")"
# The copy that runs holds the first import: the next one saves both.
run_import later.xml
said "Imported 1 rating: 1 added"
score_is one.flac 8 && score_is other.wav 4 && score_is new.wav 6 ||
  fail "an import through the running copy was lost: $(cat "$songlist")"
want=1 run_import bomb.xml
said "bomb.xml"
echo "ok: with Jukora running, that copy imported a folder's tags and a rhythmdb.xml and printed its answers"
