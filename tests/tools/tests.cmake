# The capture tests run the capture tool as a user would.
add_dependencies(test_${name} tavrine-capture-cursor)
target_compile_definitions(test_${name} PRIVATE
  TAVRINE_CAPTURE_TOOL="$<TARGET_FILE:tavrine-capture-cursor>")
