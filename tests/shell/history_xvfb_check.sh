#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The real program on a private X server with a songlist of 300 songs and a
# year of history (written beside the running program by sqlite3, as another
# program may): "History…" and "Statistics" open from the mode menu at the
# selected row, and screenshots of both are kept.
#   bash tests/shell/history_xvfb_check.sh <jukora> <history.png> <statistics.png>
program="${1:?jukora}"
history_out=$(realpath -m "${2:?history png}")
statistics_out=$(realpath -m "${3:?statistics png}")
source "$(dirname "$0")/desktop_check_lib.sh"
[[ -x "$program" ]] || fail "no $program"

for ((n = 1; n <= 300; n++)); do
  printf '"/home/listener/Music/Album %d","%03d - Song %d.mp3","%d","12:00 5/1/26"\r\n' \
    $((n % 12)) "$n" "$n" $((n == 1 ? 25 : (n * 37) % 23 - 4 + (n % 5 == 0 ? 6 : 0)))
done >"$songlist"
write_settings "[main]" "visible=True" "last_set=$songlist" "" "[window]" "app_left=9900" "app_top=6900" \
  "app_width=8000" "app_height=6600" ""

# The windows open at the top left of a screen without a window manager; the
# list is placed clear of them.
start_xvfb 1280x1024
start_jukora "$program"
await_window "Jukora Song Manager - default.jk8"
list=$window
history=$XDG_DATA_HOME/Jukora/Jukora/history.sqlite
has_events() { sqlite3 "$history" "SELECT 1 FROM events LIMIT 0" 2>/dev/null; }
wait_for 10 has_events || fail "no history was made"

# The first song of the list (the highest score) and a year of plays and
# score changes spread over it, more of them lately.
first=$(sqlite3 "$history" <<'SQL'
.timeout 2000
WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 60)
INSERT INTO songs (directory, file)
SELECT CAST('/home/listener/Music/Album ' || (i % 12) AS BLOB), CAST(printf('%03d - Song %d.mp3', i, i) AS BLOB) FROM n;
-- A year of plays and changes of many songs, more of them lately.
WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 4000)
INSERT INTO events (time, song, kind, old_score, new_score, source)
SELECT CAST(strftime('%s', 'now') AS INTEGER) - (ABS(RANDOM()) % 31536000) * (ABS(RANDOM()) % 1000) / 1000,
       2 + i % 59, CASE WHEN i % 4 = 0 THEN 'score' ELSE 'play' END,
       CASE WHEN i % 4 = 0 THEN 3 END, CASE WHEN i % 4 = 0 THEN 4 END, CASE WHEN i % 4 = 0 THEN 'tray' ELSE 'cycle' END
FROM n;
-- The first song: played now and then, its score raised from 16 to 25 and lowered now and then.
WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 16)
INSERT INTO events (time, song, kind, old_score, new_score, source)
SELECT CAST(strftime('%s', 'now') AS INTEGER) - (17 - i) * 1500000, 1, 'score', 16 + i / 2 + (i % 3 = 0),
       16 + i / 2 + (i % 3 <> 0), CASE i % 3 WHEN 0 THEN 'window' WHEN 1 THEN 'tray' ELSE 'command line' END
FROM n;
WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 40)
INSERT INTO events (time, song, kind, source)
SELECT CAST(strftime('%s', 'now') AS INTEGER) - i * 600000 - 3600, 1, 'play', CASE WHEN i % 5 = 0 THEN 'direct' ELSE 'cycle' END
FROM n;
SELECT file FROM songs WHERE id = 1;
SQL
)
[[ $first == "001 - Song 1.mp3" ]] || fail "the history was not written: $first"

# choose N: the grid's first row selected, the mode menu opened at it from
# the keyboard, its Nth item.
choose() {
  xdotool windowfocus --sync "$list" mousemove --window "$list" 200 200 click 1
  sleep 0.3
  xdotool key ctrl+Home
  sleep 0.3
  xdotool key shift+F10
  sleep 0.5
  for ((i = 0; i < $1; i++)); do xdotool key Down; done
  xdotool key Return
}
# Random, Countdown, Countup, Songlist, Add Files, Import Ratings…, Show
# Playing, then History… and Statistics.
choose 8
await_window "History of 001 - Song 1.mp3"
shot "$window" "$history_out"
choose 9
await_window "Statistics"
shot "$window" "$statistics_out"
