set saved to AppleScript's text item delimiters
try
  set AppleScript's text item delimiters to "/"
  set parts to text items of "Jobs/Spring/cover.tif"
  log last item of parts -- expect: cover.tif
  error "stop here"
  set AppleScript's text item delimiters to saved
on error
  set AppleScript's text item delimiters to saved
end try
log {"a", "b"} as text -- expect: ab
log text item delimiters of AppleScript -- expect: {""}
