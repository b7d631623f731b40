# The cursor tests show an ARGB cursor on a window of their own (XRender).
pkg_check_modules(XRENDER REQUIRED IMPORTED_TARGET xrender)
target_link_libraries(test_${name} PRIVATE PkgConfig::XRENDER)
# The capture tests run the capture tool as a user would.
add_dependencies(test_${name} tavrine-capture-cursor)
target_compile_definitions(test_${name} PRIVATE
  TAVRINE_CAPTURE_TOOL="$<TARGET_FILE:tavrine-capture-cursor>")
# The startup tests run the program itself and reveal to the stand-in.
add_dependencies(test_${name} tavrine file_manager_standin)
