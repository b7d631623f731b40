# The Linux libraries and system calls stay under platform/linux/: the
# targets of the layers above it (and the portable half of platform/) get
# folders of stand-in headers, searched before the system's, one for every
# GLib, GIO, X11, ICU, lcms2 and zlib header and for the POSIX headers of
# system calls, each of which stops the compilation with a message that says
# where such code belongs. Linking the libraries privately is not enough on
# its own: ICU, lcms2, X11 and zlib install their headers straight into
# /usr/include.

set(TAVRINE_FORBIDDEN_HEADERS ${CMAKE_BINARY_DIR}/forbidden-headers/libraries)
set(TAVRINE_FORBIDDEN_SYSTEM_HEADERS ${CMAKE_BINARY_DIR}/forbidden-headers/system)

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

# The headers of the system calls the backings make.
set(TAVRINE_SYSTEM_CALL_HEADERS
  dirent.h dlfcn.h fcntl.h grp.h langinfo.h poll.h pwd.h spawn.h termios.h
  linux/fs.h sys/inotify.h sys/ioctl.h sys/mman.h sys/random.h sys/socket.h sys/stat.h
  sys/statvfs.h sys/sysmacros.h sys/un.h sys/wait.h sys/xattr.h)
foreach(header IN LISTS TAVRINE_SYSTEM_CALL_HEADERS)
  file(CONFIGURE OUTPUT ${TAVRINE_FORBIDDEN_SYSTEM_HEADERS}/${header} @ONLY CONTENT
"#error \"<${header}> is a system call header, which only platform/linux/ may use: \
call it through an operation declared in platform/.\"
")
endforeach()

# The C++ library's own headers include <unistd.h>, so its stand-in stops
# only a source file that includes it itself, and passes the others on.
file(CONFIGURE OUTPUT ${TAVRINE_FORBIDDEN_SYSTEM_HEADERS}/unistd.h @ONLY CONTENT
"#if __INCLUDE_LEVEL__ == 1
#error \"<unistd.h> is a system call header, which only platform/linux/ may use: \
call it through an operation declared in platform/.\"
#endif
#include_next <unistd.h>
")

# Gives a target the stand-ins, ahead of every other include folder. With
# QT, a target of scriptkit/qt/, which may call the system beside Qt, gets
# the libraries' stand-ins only.
function(tavrine_keep_off_linux target)
  cmake_parse_arguments(PARSE_ARGV 1 keep "QT" "" "")
  target_include_directories(${target} BEFORE PRIVATE ${TAVRINE_FORBIDDEN_HEADERS})
  if(NOT keep_QT)
    target_include_directories(${target} BEFORE PRIVATE ${TAVRINE_FORBIDDEN_SYSTEM_HEADERS})
  endif()
endfunction()
