log 1 = 1.0 -- expect: true
log "ABC" is "abc" -- expect: true
log "a" is not "b" -- expect: true
log 3 is greater than or equal to 3 -- expect: true
log 2 < 10 -- expect: true
log "b" > "a" -- expect: true
log "Photoshop" contains "shop" -- expect: true
log {1, 2, 3} contains 2 -- expect: true
log 4 is in {1, 2, 3} -- expect: false
log "file.tif" ends with ".TIF" -- expect: true
log "1" = 1 -- expect: false
log (1 < 2) and not (2 < 1) -- expect: true
log false or 3 ≥ 2 -- expect: true
