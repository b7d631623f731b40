log {1, 2} as integer
-- expect runtime error: -1700 line 1: Can't make {1, 2} into type integer.
