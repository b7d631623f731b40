set r to {units:"Pixels", size:3}
log r's units -- expect: Pixels
set r's size to 4
log size of r -- expect: 4
log window "Main"'s name -- expect: Main
log {1, 2, 3}'s item 2 -- expect: 2
