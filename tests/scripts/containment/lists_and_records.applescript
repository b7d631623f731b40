set theList to {"a", "b", "c"}
log theList contains "b" -- expect: true
log theList contains {"b", "c"} -- expect: true
log theList contains {"c", "b"} -- expect: false
log "d" is in theList -- expect: false
log {"a", "b"} is in theList -- expect: true
log theList starts with {"a", "b"} -- expect: true
log theList starts with "a" -- expect: true
log theList ends with {"b", "c"} -- expect: true
log theList ends with "b" -- expect: false
set r to {units:"Pixels", size:3}
log r contains {size:3} -- expect: true
log {units:"Pixels"} is in r -- expect: true
log r contains {size:4} -- expect: false
