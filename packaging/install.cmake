# Installing tavrine as a desktop application: the desktop entry, the icon in
# the hicolor sizes, the AppStream metainfo and the man pages; on a live
# prefix the desktop's caches are refreshed so that file managers offer
# tavrine at once. `make package` builds the Debian package from the same
# rules.

install(FILES resources/tavrine.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
foreach(size 16 22 24 32 48 64 128 256)
  install(FILES packaging/icons/${size}x${size}/tavrine.png
          DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps)
endforeach()
install(FILES resources/tavrine.svg DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
install(FILES packaging/org.tavrine.Tavrine.metainfo.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)

# The man pages, compressed as Debian keeps them (-n: no name or time inside,
# so that the package builds the same twice).
find_program(GZIP_PROGRAM gzip REQUIRED)
set(man_pages)
foreach(page tavrine tavrine-capture-cursor)
  set(page_file ${CMAKE_BINARY_DIR}/man/${page}.1)
  add_custom_command(OUTPUT ${page_file}.gz
    COMMAND ${CMAKE_COMMAND} -E copy ${CMAKE_CURRENT_SOURCE_DIR}/packaging/man/${page}.1 ${page_file}
    COMMAND ${GZIP_PROGRAM} -9nf ${page_file}
    DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/packaging/man/${page}.1 VERBATIM)
  list(APPEND man_pages ${page_file}.gz)
endforeach()
add_custom_target(tavrine_man ALL DEPENDS ${man_pages})
install(FILES ${man_pages} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)

# A live install (no DESTDIR: not a staged one, not the package's, whose
# caches dpkg's triggers refresh) tells the desktop about the new entry and
# icons. A tool that is missing is skipped with a note.
install(CODE "set(TAVRINE_DATADIR \"${CMAKE_INSTALL_DATADIR}\")")
install(CODE [[
  if("$ENV{DESTDIR}" STREQUAL "")
    set(data "${TAVRINE_DATADIR}")
    if(NOT IS_ABSOLUTE "${data}")
      set(data "${CMAKE_INSTALL_PREFIX}/${data}")
    endif()
    find_program(UPDATE_DESKTOP_DATABASE update-desktop-database)
    find_program(GTK_UPDATE_ICON_CACHE gtk-update-icon-cache)
    if(UPDATE_DESKTOP_DATABASE)
      message(STATUS "Refreshing the applications' MIME index: ${data}/applications")
      execute_process(COMMAND "${UPDATE_DESKTOP_DATABASE}" -q "${data}/applications")
    else()
      message(STATUS "update-desktop-database is missing: file managers will not offer tavrine yet")
    endif()
    if(GTK_UPDATE_ICON_CACHE)
      message(STATUS "Refreshing the icon cache: ${data}/icons/hicolor")
      execute_process(COMMAND "${GTK_UPDATE_ICON_CACHE}" -q -t -f "${data}/icons/hicolor")
    endif()
  endif()
]])

# The Debian package. Library dependencies come from dpkg-shlibdeps; the
# others are what tavrine loads at run time: Qt's platform plug-ins, the SVG
# icon loader and the MIME database. The recommended desktop-file-utils
# indexes the entry's MimeType claims (its dpkg trigger), without which no
# file manager offers tavrine under "Open With".
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME tavrine)
set(CPACK_PACKAGE_VENDOR "The tavrine developers")
set(CPACK_PACKAGE_CONTACT "The tavrine developers <developers@tavrine.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "show a placed picture's size, colour profile and application")
set(CPACK_PACKAGE_DESCRIPTION
"tavrine is a small desktop helper for people who lay out pages. For one
placed picture it shows the pixel size, the physical size in the unit you
choose, the colour profile and the default application; it opens the
picture in an application chosen from a pop-up that remembers earlier
picks, and reveals the picture's folder in the file manager.")
# Packing takes what is built: `make package` builds first, and the package
# test must not start a build of its own.
set(CMAKE_SKIP_INSTALL_ALL_DEPENDENCY TRUE)
set(CPACK_SET_DESTDIR ON)
set(CPACK_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION graphics)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins, libqt6svg6, shared-mime-info")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "desktop-file-utils, adwaita-icon-theme")
set(CPACK_DEBIAN_PACKAGE_SUGGESTS "scribus")
include(CPack)
