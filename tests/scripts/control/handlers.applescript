property calls : 0
on add(a, b)
  set calls to calls + 1
  return a + b
end add
on fact(n)
  if n ≤ 1 then return 1
  return n * fact(n - 1)
end fact
log add(1, 2) -- expect: 3
log my add(3, 4) -- expect: 7
log fact(10) -- expect: 3628800
log calls -- expect: 2
on clicked theObject
  log name of theObject
end clicked
tell window "Main"
  log my fact(3) -- expect: 6
end tell
