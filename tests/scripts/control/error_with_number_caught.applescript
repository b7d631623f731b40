on check(theSize)
  if theSize < 0 then error "The size " & theSize & " is negative." number 501
  return theSize
end check
try
  check(-2)
on error errText number errNum
  log errNum -- expect: 501
  log errText -- expect: The size -2 is negative.
end try
try
  try
    error "inner" number 7
  on error m number n
    error m & " again" number n + 1
  end try
on error m number n
  log m & " " & n -- expect: inner again 8
end try
try
  error number -128
on error number n
  log n -- expect: -128
end try
try
  log item 9 of {1}
on error errText number errNum
  log errNum -- expect: -1728
  log errText -- expect: Can't get item 9 of {1}.
end try
