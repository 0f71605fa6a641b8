# SPDX-License-Identifier: GPL-3.0-or-later
# What `cmake --install` puts beside the program on freedesktop systems, and
# the Debian package `cpack -G DEB` makes of it (library dependencies found
# by dpkg-shlibdeps; mpv is run, not linked, and Qt's SQLite driver is a
# plugin loaded at run time, so both are named here).
include(GNUInstallDirs)

set(JUKORA_ID org.jukora.Jukora)
install(FILES ${PROJECT_SOURCE_DIR}/data/${JUKORA_ID}.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${PROJECT_SOURCE_DIR}/data/${JUKORA_ID}.metainfo.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
install(DIRECTORY ${PROJECT_SOURCE_DIR}/data/icons/ DESTINATION ${CMAKE_INSTALL_DATADIR}/icons)

# Debian wants manual pages and changelogs compressed, without a time stamp.
set(JUKORA_GZIPPED)
foreach(source docs/jukora.1 data/debian/changelog)
  get_filename_component(name ${source} NAME)
  add_custom_command(OUTPUT ${CMAKE_CURRENT_BINARY_DIR}/${name}.gz
                     COMMAND gzip -9n -c ${PROJECT_SOURCE_DIR}/${source} > ${CMAKE_CURRENT_BINARY_DIR}/${name}.gz
                     DEPENDS ${PROJECT_SOURCE_DIR}/${source})
  list(APPEND JUKORA_GZIPPED ${CMAKE_CURRENT_BINARY_DIR}/${name}.gz)
endforeach()
add_custom_target(jukora_docs ALL DEPENDS ${JUKORA_GZIPPED})
install(FILES ${CMAKE_CURRENT_BINARY_DIR}/jukora.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
install(FILES ${CMAKE_CURRENT_BINARY_DIR}/changelog.gz RENAME changelog.Debian.gz DESTINATION ${CMAKE_INSTALL_DOCDIR})
install(FILES ${PROJECT_SOURCE_DIR}/data/debian/copyright DESTINATION ${CMAKE_INSTALL_DOCDIR})

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME jukora)
set(CPACK_PACKAGE_VENDOR "The Jukora developers")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_RELEASE 1)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "The Jukora developers <maintainers@users.noreply.c-seed-f1af4a00.example>")
set(CPACK_DEBIAN_PACKAGE_SECTION sound)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Strawberry's and Clementine's databases are read through it.
set(CPACK_DEBIAN_PACKAGE_DEPENDS libqt6sql6-sqlite)
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS mpv)
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
    "songlist manager that scores songs and feeds a media player
Jukora keeps a songlist: every song you care about, with a score you raise
or lower while you listen, a rank derived from the scores and the time it
was last played. From that list it feeds a player (mpv, any MPRIS player
or MPD) one song at a time: weighted
random play that never replays a song within the hours you set, countdown
and countup through the whole list or the top 20, and playlists in score
order.

Five tray icons score the playing song, skip it, show the list and open
the mode menu; jukora --increment, --decrement, --skip, --show and --undo
do the same from keyboard shortcuts.

Ratings kept by Rhythmbox, Strawberry, Clementine, MPD's stickers or the
files' own tags can be imported, and scores shared back to MPD's stickers
and the files' tags.")
include(CPack)
