log "42" as integer -- expect: 42
log 2.5 as integer -- expect: 2
log 3 as text -- expect: 3
log 3 as real -- expect: 3.0
log {"a", 1, "b"} as text -- expect: a1b
log "true" as boolean -- expect: true
log class of 3 -- expect: integer
log class of "x" -- expect: text
log 5 as list -- expect: {5}
