# The Linux libraries stay under platform/linux/: the targets of the layers
# above it (and the portable half of platform/) get a folder of stand-in
# headers, searched before the system's, one for every GLib, GIO, X11, ICU,
# lcms2 and zlib header, each of which stops the compilation with a message
# that says where such code belongs. Linking the libraries privately is not
# enough on its own: ICU, lcms2, X11 and zlib install their headers straight
# into /usr/include.

set(TAVRINE_FORBIDDEN_HEADERS ${CMAKE_BINARY_DIR}/forbidden-headers)

# Writes the stand-ins for the headers in `root` that match `pattern`, and
# for every header in the folders under `root` that `ARGN` names.
function(tavrine_forbid_headers library root pattern)
  set(found)
  if(pattern)
    file(GLOB found RELATIVE ${root} ${root}/${pattern})
  endif()
  foreach(folder IN LISTS ARGN)
    file(GLOB_RECURSE inside RELATIVE ${root} ${root}/${folder}/*.h)
    list(APPEND found ${inside})
  endforeach()
  foreach(header IN LISTS found)
    file(CONFIGURE OUTPUT ${TAVRINE_FORBIDDEN_HEADERS}/${header} @ONLY CONTENT
"#error \"<${header}> is ${library}, which only platform/linux/ may use: \
call it through an operation declared in platform/.\"
")
  endforeach()
endfunction()

function(tavrine_forbid_all_linux_headers)
  find_path(TAVRINE_ICU_HEADERS unicode/uversion.h HINTS ${ICU_INCLUDE_DIRS})
  find_path(TAVRINE_X11_HEADERS X11/Xlib.h HINTS ${X11_INCLUDE_DIRS})
  find_path(TAVRINE_LCMS2_HEADERS lcms2.h HINTS ${LCMS2_INCLUDE_DIRS})
  find_path(TAVRINE_GLIB_HEADERS glib.h HINTS ${GIO_INCLUDE_DIRS} PATH_SUFFIXES glib-2.0)
  find_path(TAVRINE_GIO_HEADERS gio/gio.h HINTS ${GIO_INCLUDE_DIRS} PATH_SUFFIXES glib-2.0)
  tavrine_forbid_headers(ICU ${TAVRINE_ICU_HEADERS} "" unicode)
  tavrine_forbid_headers(X11 ${TAVRINE_X11_HEADERS} "" X11)
  tavrine_forbid_headers(lcms2 ${TAVRINE_LCMS2_HEADERS} "lcms2*.h")
  tavrine_forbid_headers(zlib ${ZLIB_INCLUDE_DIRS} "zlib.h")
  tavrine_forbid_headers(GLib ${TAVRINE_GLIB_HEADERS} "g*.h" glib gobject)
  tavrine_forbid_headers(GIO ${TAVRINE_GIO_HEADERS} "" gio)
endfunction()
tavrine_forbid_all_linux_headers()

# Gives a target the stand-ins, ahead of every other include folder.
function(tavrine_keep_off_linux target)
  target_include_directories(${target} BEFORE PRIVATE ${TAVRINE_FORBIDDEN_HEADERS})
endfunction()
