log "720" & " x " & 360 & " px" -- expect: 720 x 360 px
log {1, 2} & {3} -- expect: {1, 2, 3}
log {1} & "a" -- expect: {1, "a"}
log 1 & 2 -- expect: {1, 2}
log {a:1} & {b:2, a:3} -- expect: {a:1, b:2}
