# SPDX-FileCopyrightText: 2026 The StrumletViewer developers
#
# SPDX-License-Identifier: GPL-3.0-or-later

# `make deb`: a Debian package of everything `cmake --install` puts in place, under /usr.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME strumletviewer)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "The StrumletViewer developers")
set(CPACK_PACKAGE_CONTACT "The StrumletViewer developers <developers@strumletviewer.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "turn Strumlet chord databases into web pages")
set(CPACK_PACKAGE_DESCRIPTION
    "StrumletViewer reads the backup databases that a Palm handheld leaves on the
computer for Strumlet, its chord-diagram application, and turns them into web
pages: one chord-diagram image per chord, one page per database and an index
page per folder, shown in the program's own browser window.

The package holds the desktop program strumletviewer, the command-line
converter strumlet-convert, strumlet-palm for the Palm Desktop operations, and
tools to list, draw and write chord databases.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION sound)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE ${STRUMLET_HOMEPAGE})
# Libraries the programs link come from dpkg-shlibdeps; the default font (the fontconfig match
# for "Times New Roman") and the file-type database are used without being linked.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "fonts-liberation, shared-mime-info")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "hicolor-icon-theme")
set(CPACK_STRIP_FILES ON)
set(CPACK_STRUMLET_OBJCOPY ${CMAKE_OBJCOPY})
set(CPACK_PRE_BUILD_SCRIPTS ${CMAKE_CURRENT_LIST_DIR}/PackageElfNotes.cmake)
set(CPACK_POST_BUILD_SCRIPTS ${CMAKE_CURRENT_LIST_DIR}/PackageWithoutLdconfig.cmake)
include(CPack)
