#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Tries the real Jukora with every desktop player of the table in
# docs/players.md that is installed here, each on a desktop of its own (Xvfb
# and openbox, a private session bus, a PulseAudio null sink and a null ALSA
# default, a fresh profile), and prints one result line per player and step.
#
#   tests/trials/desktop_players.sh [-u USER] JUKORA [PLAYER...]
#
# JUKORA is the built program (build/dev/src/shell/jukora). As root the
# players run as USER (default: nobody), since some refuse root; as an
# ordinary user they run as that user. KEEP_WORK=1 keeps each player's
# folder (logs, songlist, screenshot of the export) for a look;
# TRIAL_MPRIS_NAME=NAME gives Jukora that player name instead of the one its
# Preferences would store.
#
# Not part of .ci/run: the fourteen players take about 26 minutes here
# (2 cores; a full run took 1,585 s, 95 to 153 s a player, Elisa and cmus
# the slowest). Each player has 6 minutes at most.
#
# Players and their packages: rhythmbox rhythmbox-plugins strawberry elisa
# clementine lollypop quodlibet juk sayonara gnome-music celluloid qmmp cmus
# mpdris2 (with mpd, mpc) vlc; and Xvfb openbox xdotool xclip xterm
# pulseaudio sox imagemagick playerctl python3-dbus python3-gi.
set -uo pipefail

here=$(cd "$(dirname "$0")" && pwd)
user=nobody
if [[ ${1:-} == -u ]]; then user=$2; shift 2; fi
[[ $# -ge 1 ]] || { sed -n '2,/^set/p' "$0" | sed 's/^# \{0,1\}//;/^set/d'; exit 2; }
jukora=$(realpath "$1"); shift
[[ -x $jukora ]] || { echo "not a program: $jukora" >&2; exit 2; }
source "$here/players.sh"
players=("$@")
((${#players[@]})) || players=("${trial_players[@]}")

# Whatever outlived a player's trial: every process whose profile is its folder.
sweep() {
  local env pid
  for env in /proc/[0-9]*/environ; do
    grep -qzF "HOME=$1/home" "$env" 2>/dev/null || continue
    pid=${env#/proc/}; kill -KILL "${pid%/environ}" 2>/dev/null
  done
}

as_user=()
[[ $(id -u) == 0 ]] && as_user=(runuser -u "$user" --)
started=$SECONDS
for player in "${players[@]}"; do
  define_player "$player" || { echo "$player: not a player of the trial" >&2; continue; }
  if ! dpkg-query -W -f '${Status}' "$pkg" 2>/dev/null | grep -q "ok installed"; then
    printf '%-10s %-14s %s\n' "$player" skipped "package $pkg is not installed"
    continue
  fi
  work=$(mktemp -d /tmp/jukora-trial-"$player".XXXXXX)
  chmod 755 "$work"
  [[ $(id -u) == 0 ]] && chown "$user" "$work"
  one=$SECONDS
  # A clean environment: nothing of the caller's desktop or bus leaks in.
  timeout -k 10 360 "${as_user[@]}" env -i PATH=/usr/local/bin:/usr/bin:/bin LANG=C.UTF-8 ${TRIAL_MPRIS_NAME:+TRIAL_MPRIS_NAME=$TRIAL_MPRIS_NAME} \
    dbus-run-session -- "$here/one_player.sh" "$player" "$jukora" "$work" 2>"$work/trial.err"
  rc=$?
  sweep "$work"
  ((rc == 124 || rc == 137)) && printf '%-10s %-14s %s\n' "$player" timeout "the trial ran out of its 6 minutes"
  printf '%-10s %-14s %s\n' "$player" took "$((SECONDS - one)) s"
  if [[ -n ${KEEP_WORK:-} ]]; then echo "kept $work" >&2; else rm -rf "$work"; fi
done
echo "all players: $((SECONDS - started)) s" >&2
