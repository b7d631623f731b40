# The end-to-end tests run the built program itself.
add_dependencies(test_app tavrine)
# The reveal effects are checked with the reveal suite's private bus and its
# file-manager stand-in.
target_sources(test_app PRIVATE ${CMAKE_CURRENT_SOURCE_DIR}/reveal/private_bus.cpp)
add_dependencies(test_app file_manager_standin)
target_compile_definitions(test_app PRIVATE
  TAVRINE_FILE_MANAGER_STANDIN="$<TARGET_FILE:file_manager_standin>")
