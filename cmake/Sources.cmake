# SPDX-License-Identifier: GPL-3.0-or-later
# Source lists are globbed so that a new file needs no build-file edit.
# A file ending in _win32.cpp builds only on Windows, one ending in
# _posix.cpp only elsewhere.
function(jukora_glob out)
  file(GLOB_RECURSE found CONFIGURE_DEPENDS ${ARGN})
  if(WIN32)
    list(FILTER found EXCLUDE REGEX "_posix(_test)?\\.cpp$")
  else()
    list(FILTER found EXCLUDE REGEX "_win32(_test)?\\.cpp$")
  endif()
  set(${out} ${found} PARENT_SCOPE)
endfunction()
