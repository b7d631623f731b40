log "cover.tif" ends with ".TIF" -- expect: true
log "cover.tif" starts with "cov" -- expect: true
log "cover.tif" contains "ER" -- expect: true
log "ver" is in "cover.tif" -- expect: true
log "x" is not in "cover.tif" -- expect: true
log "cover.tif" does not contain "x" -- expect: true
log "cover.tif" doesn't contain "x" -- expect: true
log "cover.tif" does not start with "x" -- expect: true
log "cover.tif" doesn't end with ".tif" -- expect: false
log "a" isn't "b" -- expect: true
