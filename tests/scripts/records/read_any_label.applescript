set r to {units:"Pixels", size:3, name:"x"}
log units of r -- expect: Pixels
log (size of r) + 1 -- expect: 4
log name of r -- expect: x
set n to get size of r
log n -- expect: 3
log get units of r -- expect: Pixels
