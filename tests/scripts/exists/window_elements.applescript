log exists button "Trigger" of window "Main" -- expect: true
log exists button "nope" of window "Main" -- expect: false
log button "nope" of window "Main" exists -- expect: false
log exists window "Other" -- expect: false
tell window "Main"
  if text field "name" of box "info" exists then log "found" -- expect: found
  if not (exists button "nope") then log "no button" -- expect: no button
end tell
