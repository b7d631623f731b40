set {x:a, y:b} to {y:2, x:1, z:3}
log {a, b} -- expect: {1, 2}
set {name:n} to {name:"Main"}
log n -- expect: Main
