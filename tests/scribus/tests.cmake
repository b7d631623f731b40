# The Scribus companion, run inside the real Scribus against the built program.
add_dependencies(test_scribus tavrine)
