# SPDX-FileCopyrightText: 2026 The StrumletViewer developers
#
# SPDX-License-Identifier: GPL-3.0-or-later

# Run by CPack on the staged files, after they are stripped and before they are packed: takes
# the compilers' identification (.comment) and the old-style .note section out of every program
# and library, as the distribution's own packaging does. Nothing runs without them.
file(GLOB_RECURSE staged LIST_DIRECTORIES false "${CPACK_TEMPORARY_INSTALL_DIRECTORY}/*")
foreach(file ${staged})
  if(IS_SYMLINK "${file}")
    continue()
  endif()
  file(READ "${file}" magic LIMIT 4 HEX)
  if(magic STREQUAL "7f454c46")
    execute_process(
      COMMAND "${CPACK_STRUMLET_OBJCOPY}" --remove-section=.comment --remove-section=.note "${file}"
      RESULT_VARIABLE status)
    if(NOT status EQUAL 0)
      message(FATAL_ERROR "objcopy could not clean ${file}")
    endif()
  endif()
endforeach()
