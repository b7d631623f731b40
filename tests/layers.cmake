# Code above platform/linux/ cannot include a Linux library's header, nor
# (but in scriptkit/qt/) a system call's: each of these tests compiles one
# such include with the include folders of a layer's library, and passes when
# the compiler stops with the stand-in's message.
set(LINUX_HEADER_PROBES unicode/unistr.h X11/Xlib.h lcms2.h zlib.h glib.h gio/gio.h sys/stat.h
    unistd.h)
set(LAYER_LIBRARIES tavrine_platform tavrine_scriptkit tavrine_scriptkit_qt tavrine_system
    tavrine_links)
foreach(header IN LISTS LINUX_HEADER_PROBES)
  string(MAKE_C_IDENTIFIER ${header} probe)
  set(source ${CMAKE_CURRENT_BINARY_DIR}/linux_headers/${probe}.cpp)
  file(CONFIGURE OUTPUT ${source} CONTENT "#include <${header}>\n")
  foreach(library IN LISTS LAYER_LIBRARIES)
    if(header MATCHES "^(sys/stat|unistd)\\.h$" AND library STREQUAL "tavrine_scriptkit_qt")
      continue()
    endif()
    add_test(NAME LinuxHeaders.${library}.${probe}
             COMMAND ${CMAKE_CXX_COMPILER} -std=c++20 -fsyntax-only
                     "-I$<JOIN:$<TARGET_PROPERTY:${library},INCLUDE_DIRECTORIES>,;-I>" ${source}
             COMMAND_EXPAND_LISTS)
    set_tests_properties(LinuxHeaders.${library}.${probe} PROPERTIES
      PASS_REGULAR_EXPRESSION "<${header}> is [A-Za-z0-9 ]+, which only platform/linux/ may use")
  endforeach()
endforeach()

# Includes point down the layers: platform/ includes only itself, scriptkit/
# nothing of the system's code, and only scriptkit/qt/ its own headers.
add_test(NAME Layers.IncludesPointDown
         COMMAND ${CMAKE_COMMAND} -DSOURCE_DIR=${CMAKE_SOURCE_DIR}
                 -P ${CMAKE_SOURCE_DIR}/cmake/check_layers.cmake)
