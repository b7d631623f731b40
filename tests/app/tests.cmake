# The end-to-end tests run the built program itself, and check reveals with
# the file-manager stand-in on a private bus.
add_dependencies(test_app tavrine file_manager_standin)
