log "3.5" as number -- expect: 3.5
log "3" as number -- expect: 3
log class of ("3" as number) -- expect: integer
log 7 as real -- expect: 7.0
log class of (2.0 as integer) -- expect: integer
log 3 as (class of "x") -- expect: 3
log class of (3 as (class of "x")) -- expect: text
log "12" as (class of 1) -- expect: 12
log button "Trigger" of window "Main" as button -- expect: button "Trigger" of window "Main"
