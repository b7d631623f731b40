# The end-to-end tests run the built program itself, and check reveals with
# the file-manager stand-in on a private bus.
add_dependencies(test_shell tavrine file_manager_standin)
# The reveal checks write each folder's URI as the file manager receives it.
target_link_libraries(test_shell PRIVATE PkgConfig::GIO)
