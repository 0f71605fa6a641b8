# SPDX-License-Identifier: GPL-3.0-or-later
# The program's layers, lowest first, and what each may include and link:
# only layers below it. The targets are built from this table, and a test
# (check_layers.cmake) fails on any include that points upward or sideways.
# A backend folder inside a layer (player/mpv, ratings/tags, history/sqlite)
# belongs to its layer and may use a library of its field; the layer's own
# files include no Qt header.
set(JUKORA_LAYERS platform player songlist scoring playmodes history ratings session shell win32)
set(JUKORA_BELOW_platform "")
set(JUKORA_BELOW_player platform)
set(JUKORA_BELOW_songlist platform)
set(JUKORA_BELOW_scoring platform player songlist)
set(JUKORA_BELOW_playmodes platform player songlist)
set(JUKORA_BELOW_history platform songlist)
set(JUKORA_BELOW_ratings platform player songlist scoring)
set(JUKORA_BELOW_session platform player songlist scoring playmodes history ratings)
set(JUKORA_BELOW_shell platform player songlist scoring playmodes history ratings session)
set(JUKORA_BELOW_win32 platform player songlist scoring playmodes history ratings session)
# The layers of standard C++ alone, whose own files never include Qt.
set(JUKORA_PLAIN_LAYERS platform player songlist scoring playmodes history ratings session)
