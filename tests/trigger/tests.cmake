# The cursor tests show an ARGB cursor on a window of their own (XRender).
pkg_check_modules(XRENDER REQUIRED IMPORTED_TARGET xrender)
target_link_libraries(test_${name} PRIVATE PkgConfig::XRENDER)
