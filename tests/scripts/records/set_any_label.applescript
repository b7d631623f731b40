set r to {units:"Pixels", size:3}
set size of r to 5
set units of r to "Inches"
log r -- expect: {units:"Inches", size:5}
set s to r
set size of s to 6
log size of r -- expect: 6
