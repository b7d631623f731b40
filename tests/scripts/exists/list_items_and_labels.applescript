set theList to {1, 2, 3}
log exists item 3 of theList -- expect: true
log exists item 4 of theList -- expect: false
log item -4 of theList exists -- expect: false
set r to {units:"Pixels"}
log exists units of r -- expect: true
log colour of r exists -- expect: false
