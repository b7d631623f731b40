try
  tell window "Main" to get state of button "nope"
  log "not reached"
on error message number n
  log n -- expect: -1728
  log message -- expect: Can't get button "nope" of window "Main".
end try
try
  error "mine" number -42
on error m number n
  log m & " " & n -- expect: mine -42
end try
try
  log 1 / 0
end try
log "after" -- expect: after
