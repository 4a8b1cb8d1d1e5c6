# SPDX-FileCopyrightText: 2026 The StrumletViewer developers
#
# SPDX-License-Identifier: GPL-3.0-or-later

# One library target per layer of src/: strumlet_<layer>, built from the layer's folder.
#
# Its public headers are under src/<layer>/include/strumlet/<layer>/ and are included as
# "strumlet/<layer>/Name.h"; that folder is all a user of the layer sees. Its sources and private
# headers stay in src/<layer>/. DEPENDS names the layers right below it: a header of any other
# layer, above or beside, is not on the include path, so an include that runs the wrong way
# does not build. (tests/layering checks the same from the sources.)
#
# The private folder is recorded so that the layer's own tests can reach it
# (strumlet_layer_internals).
function(strumlet_layer layer)
  cmake_parse_arguments(L "" "" "SOURCES;DEPENDS;PRIVATE_DEPENDS" ${ARGN})
  add_library(strumlet_${layer} STATIC ${L_SOURCES})
  target_include_directories(strumlet_${layer}
    PUBLIC ${CMAKE_CURRENT_SOURCE_DIR}/include
    PRIVATE ${CMAKE_CURRENT_SOURCE_DIR})
  target_link_libraries(strumlet_${layer} PUBLIC ${L_DEPENDS} PRIVATE ${L_PRIVATE_DEPENDS})
  set_property(GLOBAL PROPERTY STRUMLET_PRIVATE_DIR_${layer} ${CMAKE_CURRENT_SOURCE_DIR})
endfunction()

# Lets a test target include the private headers of the layers it tests.
function(strumlet_layer_internals target)
  foreach(layer ${ARGN})
    get_property(dir GLOBAL PROPERTY STRUMLET_PRIVATE_DIR_${layer})
    target_include_directories(${target} PRIVATE ${dir})
  endforeach()
endfunction()

# The public and private headers of a layer, for AUTOMOC (which looks for headers only beside
# their sources otherwise).
function(strumlet_layer_files out)
  file(GLOB files CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp ${CMAKE_CURRENT_SOURCE_DIR}/*.h
       ${CMAKE_CURRENT_SOURCE_DIR}/include/strumlet/*/*.h)
  set(${out} ${files} PARENT_SCOPE)
endfunction()
