# The file-manager stand-in that the reveal tests start on their private bus
# (directly, or through the bus's service activation).
add_executable(file_manager_standin ${CMAKE_CURRENT_LIST_DIR}/standin/file_manager_standin.cc)
target_link_libraries(file_manager_standin PRIVATE PkgConfig::GIO)
add_dependencies(test_reveal file_manager_standin)
target_compile_definitions(test_reveal PRIVATE
  TAVRINE_FILE_MANAGER_STANDIN="$<TARGET_FILE:file_manager_standin>")
