# The install tests install and pack what is built: the programs and the man
# pages.
add_dependencies(test_install tavrine tavrine-capture-cursor tavrine_man)
