set s to "xxxxxxxxxxxxxxxx"
repeat 30 times
  set s to s & s
end repeat
-- expect runtime error: -108 line 3: Out of memory.
