(* a block comment (* nested *) over
   two lines *)
set total to 1 + ¬
  2 -- the rest of the line is a comment
# so is this
log total -- expect: 3
