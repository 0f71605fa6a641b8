# SPDX-License-Identifier: GPL-3.0-or-later
# Cross-building the behaviour library and its tests for 64-bit Windows with
# Debian's mingw-w64 (posix threads); the tests run under wine.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(JUKORA_MINGW_PREFIX x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${JUKORA_MINGW_PREFIX}-gcc-posix)
set(CMAKE_CXX_COMPILER ${JUKORA_MINGW_PREFIX}-g++-posix)
set(CMAKE_RC_COMPILER ${JUKORA_MINGW_PREFIX}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${JUKORA_MINGW_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# Static runtime: the programs run under wine without mingw's DLLs beside them.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static")

find_program(JUKORA_WINE wine)
if(JUKORA_WINE)
  set(CMAKE_CROSSCOMPILING_EMULATOR ${JUKORA_WINE})
endif()
