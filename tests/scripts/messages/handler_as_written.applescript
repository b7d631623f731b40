on showSize(theSize)
  return theSize
end showSize
log ShowSize(2) -- expect: 2
log showSize(1, 2)
-- expect runtime error: -1721 line 5: The handler "showSize" takes 1 parameters, not 2.
