set r to {units:"Pixels", size:3}
set merged to r & {other:1, size:9}
log merged -- expect: {units:"Pixels", size:3, other:1}
log count of merged -- expect: 3
log count of r -- expect: 2
log other of merged -- expect: 1
