set r to {units:"Pixels"}
set colour of r to "red"
-- expect runtime error: -10006 line 2: Can't set colour of {units:"Pixels"} to "red".
