#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The Debian package, the AppStream metainfo, the manual page and the menu
# entry, as a Linux desktop and Debian read them.
#
#   tests/shell/package_check.sh BUILD-DIR
#
# Needs cpack, dpkg-shlibdeps, lintian, appstreamcli, desktop-file-validate and man.
set -euo pipefail
build=$(realpath "$1")
source_dir=$(realpath "$(dirname "$0")/../..")
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

cpack -G DEB --config "$build/CPackConfig.cmake" -B "$work" >"$work/cpack.log" 2>&1 || fail "$(cat "$work/cpack.log")"
deb=$(echo "$work"/*.deb)
lintian --tag-display-limit 0 "$deb" 2>/dev/null >"$work/lintian" || true
! grep '^E:' "$work/lintian" || fail "lintian found errors"
dpkg-deb -f "$deb" Depends | grep -q 'libqt6widgets6' || fail "no dependencies from the binaries"
dpkg-deb -f "$deb" Depends | grep -q 'libqt6sql6-sqlite' || fail "Qt's SQLite driver is not a dependency"
[[ $(dpkg-deb -f "$deb" Recommends) == mpv ]] || fail "mpv is not recommended"
dpkg-deb -c "$deb" | grep -q './usr/share/metainfo/org.jukora.Jukora.metainfo.xml' || fail "no metainfo in the package"
echo "ok: $(basename "$deb"), lintian: $(grep -c . "$work/lintian" || true) remarks, none an error"

appstreamcli validate --no-net "$source_dir/data/org.jukora.Jukora.metainfo.xml" >/dev/null ||
  fail "the metainfo does not validate"
desktop-file-validate "$source_dir/data/org.jukora.Jukora.desktop" || fail "the menu entry does not validate"
warnings=$(LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -l "$source_dir/docs/jukora.1" 2>&1 >/dev/null)
[[ -z $warnings ]] || fail "the manual page: $warnings"
help=$("$build/src/shell/jukora" --help)
while read -r exec_line; do
  option=${exec_line#Exec=jukora }
  [[ $option == "$exec_line" ]] && continue
  grep -q -- "^ *$option " <<<"$help" || fail "the menu entry's action runs '$option', which jukora does not take"
done < <(grep '^Exec=' "$source_dir/data/org.jukora.Jukora.desktop")
echo "ok: the metainfo and the menu entry validate, the manual page formats cleanly, the menu entry's actions are jukora's commands"
