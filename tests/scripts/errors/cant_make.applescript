log "abc" as integer
-- expect runtime error: -1700 line 1: Can't make "abc" into type integer.
