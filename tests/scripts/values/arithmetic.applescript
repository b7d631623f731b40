log 1 + 2 * 3 -- expect: 7
log (1 + 2) * 3 -- expect: 9
log 7 / 2 -- expect: 3.5
log 7 div 2 -- expect: 3
log -7 mod 3 -- expect: -1
log 2 ^ 10 -- expect: 1024.0
log -(3 - 5) -- expect: 2
log "4" + 1 -- expect: 5
log 9223372036854775807 + 1 -- expect: 9.22337203685E+18
