log "ABC" is "abc" -- expect: true
considering case
  log "ABC" is "abc" -- expect: false
  log "ABC" contains "b" -- expect: false
  log "ABC" starts with "AB" -- expect: true
  log {"A"} contains "a" -- expect: false
  log "a" < "B" -- expect: false
  ignoring case
    log "ABC" is "abc" -- expect: true
  end ignoring
  log "x" is "X" -- expect: false
end considering
log "ABC" ends with "bc" -- expect: true
