# The end-to-end tests run the built program itself.
add_dependencies(test_app tavrine)
