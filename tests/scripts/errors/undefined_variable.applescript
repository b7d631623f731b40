set a to 1
log a + b
-- expect runtime error: -2753 line 2: The variable b is not defined.
