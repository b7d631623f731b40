# The window's effects include reveals, checked with the file-manager stand-in
# on a private bus.
add_dependencies(test_resources file_manager_standin)
