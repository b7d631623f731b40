set a to {}
repeat 100 times
  set a to {a}
end repeat
-- expect runtime error: -108
