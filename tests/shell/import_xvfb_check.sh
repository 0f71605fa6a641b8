#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# `jukora --import-ratings` of the real program: with no Jukora running it is
# done without a display; with one running under Xvfb, that copy carries it
# out and the command prints its answer. Either way a folder given under
# another spelling adds nothing twice, a folder named in Latin-1 or holding
# a line break imports, and a database another program holds locked is told
# of while it is waited for.
#
#   dbus-run-session -- tests/shell/import_xvfb_check.sh BUILD/src/shell/jukora
#
# Needs Xvfb, sox, sqlite3 and python3 with mutagen.
jukora=$(realpath "$1")
source "$(dirname "$0")/desktop_check_lib.sh"

for song in listed.wav fresh.wav new.wav other.wav late.wav; do make_song "$song"; done
latin=$'caf\xe9' broken=$'line\nbreak'
mkdir -p "$work/music/tagged" "$work/music/$latin/$broken"
make_song tagged/one.flac
make_song tagged/two.ogg
make_song "$latin/three.flac"
make_song "$latin/$broken/four.flac"
# Tags as another player writes them.
/usr/bin/python3 - "$work/music" <<'PY'
import os, sys, mutagen
music = os.fsencode(sys.argv[1])
for name, key, value in ((b"tagged/one.flac", "FMPS_RATING", "0.8"), (b"tagged/two.ogg", "RATING", "3"),
                         (b"caf\xe9/three.flac", "FMPS_RATING", "0.4"),
                         (b"caf\xe9/line\nbreak/four.flac", "FMPS_RATING", "0.2")):
    song = mutagen.File(music + b"/" + name)
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
# A Clementine database that rates a listed song, and a program that holds it
# locked for a while (hold_locked FILE SECONDS).
sqlite3 "$work/clementine.db" "CREATE TABLE schema_version (version INTEGER NOT NULL);
  INSERT INTO schema_version VALUES (54);
  CREATE TABLE songs (title TEXT, album TEXT, artist TEXT, track INTEGER, directory INTEGER NOT NULL,
    filename TEXT NOT NULL, mtime INTEGER NOT NULL, ctime INTEGER NOT NULL, filesize INTEGER NOT NULL,
    playcount INTEGER NOT NULL DEFAULT 0, lastplayed INTEGER, rating INTEGER, skipcount INTEGER NOT NULL DEFAULT 0,
    unavailable INTEGER DEFAULT 0);
  INSERT INTO songs (directory, filename, mtime, ctime, filesize, rating) VALUES (1, 'file://$work/music/late.wav',
    0, 0, 0, 0.2);"
hold_locked() {
  /usr/bin/python3 -c 'import sqlite3, sys, time
db = sqlite3.connect(sys.argv[1], isolation_level=None)
db.execute("BEGIN EXCLUSIVE")
time.sleep(float(sys.argv[2]))' "$1" "$2"
}

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
  # The same folder under other spellings, and Latin-1 bytes, taken as they are.
  in=$work/music run_import "$latin"
  said "Imported 2 ratings: 2 added"
  for spelling in "music:./$latin/" ":music//$latin" ":music/./$latin" "music/$latin:../$latin"; do
    in=$work/${spelling%%:*} run_import "${spelling#*:}"
    said "Imported 0 ratings: 0 added"
  done
  [[ $(sqlite3 "$XDG_DATA_HOME/Jukora/Jukora/history.sqlite" "SELECT count(*) FROM events WHERE source = 'import'") == 4 ]] ||
    fail "the import without a window did not keep its history"
  hold_locked "$work/clementine.db" 2.5 &
  holder=$!
  sleep 0.5
  run_import clementine.db --dry-run
  said "Waiting for \"$work/clementine.db\", which the program using it holds locked."
  wait "$holder"
)
[[ $(grep -c "\"$work/music/$latin" "$songlist") == 2 ]] || fail "the Latin-1 folder's songs were not listed once: $(cat "$songlist")"
score_is new.wav 6 && score_is fresh.wav 8 && score_is listed.wav 4 || fail "the import was not saved: $(cat "$songlist")"
echo "ok: with no Jukora running, a relative path was imported without a display, with its history; a dry run and" \
  "bad sources changed nothing; other spellings added nothing; a locked database was told of"

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
in=$work/music/tagged run_import ./
said "Imported 0 ratings: 0 added"
# A folder whose name holds a Latin-1 byte and a line break reaches it whole.
run_import "music/$latin/$broken/"
said "Imported 0 ratings: 0 added, 0 updated, 1 skipped (1 not chosen)."
hold_locked "$work/clementine.db" 2.5 &
holder=$!
sleep 0.5
run_import clementine.db
said "Waiting for \"$work/clementine.db\", which the program using it holds locked."
said "Imported 1 rating: 1 added"
wait "$holder"
echo "ok: with Jukora running, that copy imported a folder's tags and a rhythmdb.xml and printed its answers; another" \
  "spelling added nothing; a locked database was told of"
