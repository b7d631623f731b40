log "before" -- expect: before
error "Stopped here." number -128
-- expect runtime error: -128 line 2: Stopped here.
