set r to {units:"Pixels", size:3}
log units of r -- expect: Pixels
log colour of r
-- expect runtime error: -1728 line 3: Can't get colour of {units:"Pixels", size:3}.
