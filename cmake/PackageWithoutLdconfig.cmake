# SPDX-FileCopyrightText: 2026 The StrumletViewer developers
#
# SPDX-License-Identifier: GPL-3.0-or-later

# Run by CPack on each finished package: takes out the postinst and postrm that CPack writes to
# run ldconfig whenever a shared object lies in a folder under /usr/lib. Ours are private to the
# programs, found through their RUNPATH, so the loader's cache has nothing to learn from them;
# a script that does anything more is kept.
foreach(deb ${CPACK_PACKAGE_FILES})
  set(tree "${deb}.tree")
  file(REMOVE_RECURSE "${tree}")
  execute_process(COMMAND dpkg-deb -R "${deb}" "${tree}" RESULT_VARIABLE status)
  if(NOT status EQUAL 0)
    message(FATAL_ERROR "dpkg-deb could not unpack ${deb}")
  endif()
  set(changed FALSE)
  foreach(script postinst postrm)
    set(path "${tree}/DEBIAN/${script}")
    if(NOT EXISTS "${path}")
      continue()
    endif()
    file(STRINGS "${path}" lines)
    list(FILTER lines EXCLUDE REGEX
         "^(#!/bin/sh|set -e|if \\[ \"\\$1\" = \"(configure|remove)\" \\]; then|[ \t]*ldconfig|fi|[ \t]*)$")
    if(lines STREQUAL "")
      file(REMOVE "${path}")
      set(changed TRUE)
    endif()
  endforeach()
  if(changed)
    execute_process(COMMAND dpkg-deb --root-owner-group -b "${tree}" "${deb}"
                    OUTPUT_QUIET RESULT_VARIABLE status)
    if(NOT status EQUAL 0)
      message(FATAL_ERROR "dpkg-deb could not pack ${deb}")
    endif()
  endif()
  file(REMOVE_RECURSE "${tree}")
endforeach()
