set a to {10, 20, 30}
set item 2 of a to (item 2 of a) + 1
log a -- expect: {10, 21, 30}
log item -1 of a -- expect: 30
log last item of a -- expect: 30
log first item of a -- expect: 10
set end of a to 40
set beginning of a to 0
log a -- expect: {0, 10, 21, 30, 40}
log count of a -- expect: 5
log length of a -- expect: 5
log rest of {1, 2, 3} -- expect: {2, 3}
log reverse of {1, 2, 3} -- expect: {3, 2, 1}
set b to a
set item 1 of b to "shared"
log item 1 of a -- expect: shared
copy a to c
set item 1 of c to "copied"
log item 1 of a -- expect: shared
