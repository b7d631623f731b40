on fill(n)
  repeat n times
    log n
  end repeat
  repeat with i from 1 to n
    log i
end fill
-- expect error: -2741 line 7: Expected "repeat" but found "fill".
