set x to get name of window "Main"
log x -- expect: Main
log (get name of button "Trigger" of window "Main") & "!" -- expect: Trigger!
if (get enabled of button "Trigger" of window "Main") then log "enabled" -- expect: enabled
set y to (get 2) + 3
log y -- expect: 5
