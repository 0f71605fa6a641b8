#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Audacious for a machine without a sound card, under the home folder $1:
# SDL's silent output (with SDL_AUDIODRIVER=dummy), which keeps time like a
# real one; ALSA would leave it stuck "playing".
#
#   tests/support/quiet_audacious.sh HOME
outputs=/usr/lib/x86_64-linux-gnu/audacious/Output
mkdir -p "$1/.config/audacious"
{
  echo "format 11"
  for output in alsa pulse_audio sdlout; do
    printf 'output %s\nstamp %s\nversion 48\nflags 0\nname %s\ndomain audacious-plugins\npriority 5\n' \
      "$outputs/$output.so" "$(stat -c %Y "$outputs/$output.so")" "$output"
    printf 'about 0\nconfig 0\nenabled %s\n' "$([[ $output == sdlout ]] && echo 1 || echo 0)"
  done
} >"$1/.config/audacious/plugin-registry"
