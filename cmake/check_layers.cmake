# Checks that includes point down the layers: run with
#   cmake -DSOURCE_DIR=<project> -P cmake/check_layers.cmake
# and it fails, naming each file and include, when platform/ includes
# anything above it, scriptkit/ includes the system's code, or a folder
# outside scriptkit/qt/ includes the Qt toolkit's half of the framework.
cmake_minimum_required(VERSION 3.25)

# Each folder, and the folders of the project its files may include.
set(SYSTEM_FOLDERS shell window prefs openwith pictureinfo reveal)
set(ALLOWED_platform platform)
set(ALLOWED_scriptkit platform scriptkit)
set(ALLOWED_links platform links)
foreach(folder IN LISTS SYSTEM_FOLDERS)
  # The system's code may use every layer below it, and links/ is a command
  # the program's entry point hands over to.
  set(ALLOWED_${folder} platform scriptkit links ${SYSTEM_FOLDERS})
endforeach()

set(violations "")
foreach(top platform scriptkit links ${SYSTEM_FOLDERS})
  file(GLOB_RECURSE sources RELATIVE ${SOURCE_DIR} ${SOURCE_DIR}/${top}/*.h
       ${SOURCE_DIR}/${top}/*.cpp)
  foreach(source IN LISTS sources)
    file(STRINGS ${SOURCE_DIR}/${source} includes REGEX "^#include \"[^\"]+\"")
    foreach(line IN LISTS includes)
      string(REGEX REPLACE "^#include \"([^\"]+)\".*" "\\1" included "${line}")
      string(REGEX MATCH "^[^/]+" included_top "${included}")
      set(ok FALSE)
      if(included_top IN_LIST ALLOWED_${top})
        set(ok TRUE)
      endif()
      if(included MATCHES "^scriptkit/qt/" AND NOT source MATCHES "^scriptkit/qt/")
        set(ok FALSE)
      endif()
      if(NOT ok)
        string(APPEND violations "  ${source} includes \"${included}\"\n")
      endif()
    endforeach()
  endforeach()
endforeach()
if(violations)
  message(FATAL_ERROR "Includes that point up the layers:\n${violations}")
endif()
message(STATUS "Every include points down the layers.")
