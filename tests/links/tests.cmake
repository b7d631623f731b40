# The links report: its reader on documents written here, and the built
# program on documents that the real Scribus makes.
target_link_libraries(test_links PRIVATE tavrine_links)
add_dependencies(test_links tavrine)
