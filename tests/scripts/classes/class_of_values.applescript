log class of 3 is integer -- expect: true
log class of 2.5 is real -- expect: true
log class of "x" is text -- expect: true
log class of "x" is string -- expect: true
log class of {1} is list -- expect: true
log class of {a:1} is record -- expect: true
log class of true is boolean -- expect: true
log class of 3 is real -- expect: false
log class of 3 -- expect: integer
log class of {a:1} -- expect: record
log {integer, text, list} -- expect: {integer, text, list}
log (class of 3) as text -- expect: integer
log "a " & class of 2.5 -- expect: a real
set c to class of 3
if c is not integer then log "wrong"
log c = class of 4 -- expect: true
log {class:"mine"}'s class -- expect: mine
