set r to {units:"Pixels", size:3, name:"x"}
log units of r -- expect: Pixels
log (size of r) + 1 -- expect: 4
log name of r -- expect: x
set n to get size of r
log n -- expect: 3
log get units of r -- expect: Pixels
set theNames to {"a", "b"}
set i to 2
log item i of theNames -- expect: b
set theName to "Trigger"
log name of button theName of window "Main" -- expect: Trigger
