set s to ""
repeat 3 times
  set s to s & "x"
end repeat
log s -- expect: xxx
repeat with i from 1 to 10 by 4
  log i -- expect: 1
end repeat -- expect: 5
-- expect: 9
repeat with i from 3 to 1 by -1
  set s to s & i
end repeat
log s -- expect: xxx321
repeat with t in {"a", "b"}
  log t -- expect: a
end repeat -- expect: b
set n to 0
repeat while n < 4
  set n to n + 1
end repeat
log n -- expect: 4
repeat until n = 0
  set n to n - 1
  if n = 2 then exit repeat
end repeat
log n -- expect: 2
repeat
  set n to n + 1
  if n > 5 then exit repeat
end repeat
log n -- expect: 6
