on classify(n)
  if n < 0 then
    return "negative"
  else if n = 0 then
    return "zero"
  else
    return "positive"
  end if
end classify
log classify(-1) -- expect: negative
log classify(0) -- expect: zero
log classify(5) -- expect: positive
if true then log "one line" -- expect: one line
