# The file-manager tests reveal to the stand-in on a private bus; the startup
# tests run the program itself and reveal to the stand-in.
add_dependencies(test_${name} tavrine file_manager_standin)
