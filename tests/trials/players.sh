# SPDX-License-Identifier: GPL-3.0-or-later
# Sourced by one_player.sh: how each desktop player of the trial is set up,
# started and, where MPRIS cannot, made to play a file. For each player:
#   pkg      the Debian package (its version is reported)
#   stem     its MPRIS bus name after "org.mpris.MediaPlayer2."
#   command  the command a user would give Jukora (mpris_command)
#   prepare  writes its settings into the fresh profile before it starts
#   native   plays one file the player's own way (when OpenUri does not)

trial_players=(rhythmbox strawberry elisa clementine lollypop quodlibet juk sayonara gnome-music celluloid qmmp
  cmus mpdris2 vlc)

# The players started from Jukora's command inherit nothing of the trial's
# own: the command is all a user would have.
prepare() { :; }
after_start() { :; }
native() { return 1; }

define_player() {
  pkg=$1 stem=$1 command=$1
  case $1 in
    rhythmbox)
      prepare() {
        # Its MPRIS plugin is one of the defaults, but only once it has been seen.
        mkdir -p "$XDG_CONFIG_HOME/glib-2.0/settings"
        printf '[org/gnome/rhythmbox/plugins]\nactive-plugins=["mpris","generic-player","iradio"]\nseen-plugins=["mpris"]\n' \
          >"$XDG_CONFIG_HOME/glib-2.0/settings/keyfile"
      }
      ;;
    strawberry) ;;
    elisa) ;;
    clementine) ;;
    lollypop) stem=Lollypop ;;
    quodlibet)
      prepare() {
        mkdir -p "$XDG_CONFIG_HOME/quodlibet"
        printf '[plugins]\nactive_plugins = mpris\n' >"$XDG_CONFIG_HOME/quodlibet/config"
      }
      native() { quodlibet --play-file="$1" >>"$work/native.log" 2>&1; }
      ;;
    juk)
      # Its first start asks for the music folders, the fresh profile's
      # Music folder filled in; MPRIS comes up only after OK.
      after_start() {
        wait_for 30 xdotool search --onlyvisible --name "^Folder List" >/dev/null &&
          xdotool key --window "$(xdotool search --onlyvisible --name "^Folder List" | head -1)" Return
      }
      ;;
    sayonara) ;;
    gnome-music) stem=org.gnome.Music ;;
    celluloid) stem=io.github.celluloid_player.Celluloid ;;
    qmmp)
      # Its MPRIS plugin ships in the package but is off until enabled. Qt
      # writes the group "General" as "[%General]": "[General]" is its own.
      prepare() { mkdir -p "$HOME/.qmmp" && printf '[%%General]\nenabled_plugins=mpris\n' >"$HOME/.qmmp/qmmprc"; }
      ;;
    cmus)
      # cmus needs a terminal: the user's command runs it in one.
      command="xterm -e cmus"
      native() { cmus-remote -f "$1" >>"$work/native.log" 2>&1; }
      ;;
    mpdris2)
      stem=mpd command=mpDris2
      prepare() { start_mpd; }
      native() { mpc -q clear && mpc -q add "${1#"$HOME/Music/"}" && mpc -q play; }
      ;;
    vlc)
      command="vlc -I dummy --control dbus"
      ;;
    *) return 1 ;;
  esac
}

# A private MPD for mpDris2, with a null output, on its own socket only.
start_mpd() {
  mkdir -p "$work/mpd/playlists"
  cat >"$work/mpd/mpd.conf" <<EOF
music_directory "$HOME/Music"
playlist_directory "$work/mpd/playlists"
db_file "$work/mpd/db"
state_file "$work/mpd/state"
bind_to_address "$work/mpd/socket"
audio_output {
  type "null"
  name "null"
}
EOF
  mpd --no-daemon --stderr "$work/mpd/mpd.conf" >"$work/mpd.log" 2>&1 &
  pids+=($!)
  export MPD_HOST=$work/mpd/socket
  wait_for 10 mpc -q status || echo "MPD did not start" >&2
  mpc -q update --wait
  mkdir -p "$XDG_CONFIG_HOME/mpDris2"
  printf '[Connection]\nhost = %s\n[Library]\nmusic_dir = %s\n' "$MPD_HOST" "$HOME/Music" \
    >"$XDG_CONFIG_HOME/mpDris2/mpDris2.conf"
}
