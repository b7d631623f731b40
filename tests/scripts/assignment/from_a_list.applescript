set {a, b} to {1, 2}
log (a as text) & "," & b -- expect: 1,2
set {a, b} to {b, a}
log {a, b} -- expect: {2, 1}
set {x, y} to {"p", "q", "r"}
log y -- expect: q
set r to {size:0}
set theList to {0, 0}
set {size of r, item 2 of theList, {c, d}} to {5, 6, {7, 8}}
log {r, theList, c, d} -- expect: {{size:5}, {0, 6}, 7, 8}
set {w, h} to items 3 thru 4 of bounds of button "Trigger" of window "Main"
log w + h -- expect: 50
